package test;

// A static main without arguments (Java 25).
public class NoArgsMain {
    static void main() {
        System.out.println("no-args-main=1");
    }
}
