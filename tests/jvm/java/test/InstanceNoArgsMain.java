package test;

// An instance main without arguments (Java 25).
public class InstanceNoArgsMain {
    void main() {
        System.out.println("instance-no-args-main=1");
    }
}
