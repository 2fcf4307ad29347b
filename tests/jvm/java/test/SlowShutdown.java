package test;

// main returns at once; a shutdown hook of the application's takes 1.5 s,
// and so does each secondaryMain call.
public class SlowShutdown {
    public static void main(String[] args) {
        Runtime.getRuntime().addShutdownHook(new Thread(() -> pause(1500)));
    }

    public static void secondaryMain(String[] args) {
        pause(1500);
        System.out.println("secondary-returned");
        System.out.flush();
    }

    private static void pause(long ms) {
        try {
            Thread.sleep(ms);
        } catch (InterruptedException e) {
            // ends early
        }
    }
}
