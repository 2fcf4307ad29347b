package test;

// An instance main with arguments (Java 25): the launcher makes the object
// with the no-argument constructor first.
public class InstanceMain {
    private final String made = "constructed";

    void main(String[] args) {
        System.out.println("instance-main=" + made + " argc=" + args.length);
    }
}
