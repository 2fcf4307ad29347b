package test;

public class Print {
    public static void main(String[] args) {
        System.out.println("stdout line");
        System.err.println("stderr line");
    }
}
