package test;

// main returns at once; a non-daemon thread goes on a while longer.
public class Threaded {
    public static void main(String[] args) {
        new Thread(() -> {
            try {
                Thread.sleep(1000);
            } catch (InterruptedException e) {
                return;
            }
            System.out.println("thread-end");
            System.out.flush();
        }).start();
        System.out.println("main-returned");
    }
}
