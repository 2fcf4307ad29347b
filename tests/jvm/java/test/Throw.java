package test;

public class Throw {
    public static void main(String[] args) {
        // Beyond every ANSI code page, and beyond the 16-bit range.
        throw new IllegalStateException("thrown by test.Throw: Gr\u00f6\u00dfe \u2713 \u4e2d\u6587 \ud83d\ude00");
    }
}
