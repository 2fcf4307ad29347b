package lib;

public class Lib {
    public static String name() {
        return Lib.class.getModule().getName();
    }
}
