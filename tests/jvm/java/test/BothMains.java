package test;

// Both forms: static main(String[]) is the one every runtime calls.
public class BothMains {
    public static void main(String[] args) {
        System.out.println("chosen=static-with-arguments");
    }

    void main() {
        System.out.println("chosen=instance-without-arguments");
    }
}
