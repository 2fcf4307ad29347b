package app;

// The main module: what it runs in, the command the runtime was told, a
// module of the module path and a class of the class path it reaches.
public class Main {
    public static void main(String[] args) throws Exception {
        System.out.println("module=" + Main.class.getModule().getName());
        System.out.println("command=" + System.getProperty("sun.java.command"));
        System.out.println("lib=" + lib.Lib.name());
        Object day = Class.forName("cplib.Helper").getMethod("day").invoke(null);
        System.out.println("classpath-lib=" + day);
    }
}
