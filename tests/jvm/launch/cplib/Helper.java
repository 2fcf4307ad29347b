package cplib;

// On the class path; java.sql is in the boot layer only because the main module requires it.
public class Helper {
    public static String day() {
        return java.sql.Date.valueOf("2024-02-29").toString();
    }
}
