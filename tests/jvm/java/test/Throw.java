package test;

public class Throw {
    public static void main(String[] args) {
        throw new IllegalStateException("thrown by test.Throw");
    }
}
