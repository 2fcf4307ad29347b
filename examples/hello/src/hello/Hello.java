package hello;

/**
 * The example application: greets with its arguments. With "Single Instance=yes"
 * a second launch of Hello.exe does not start another VM; its arguments arrive
 * in secondaryMain of the running one, and what secondaryMain returns becomes
 * the second launch's exit code.
 */
public final class Hello {
    private Hello() {}

    public static void main(String[] args) {
        String greeting = System.getProperty("hello.greeting", "Hello");
        System.out.println(greeting + ", " + (args.length == 0 ? "world" : String.join(" ", args)) + "!");
        System.out.println("Java " + System.getProperty("java.version") + " from " + System.getProperty("java.home"));
    }

    public static int secondaryMain(String[] args) {
        System.out.println("Another launch asked for: " + String.join(" ", args));
        return args.length;
    }
}
