package test;

public class NoMain {
    public static void notMain(String[] args) {}
}
