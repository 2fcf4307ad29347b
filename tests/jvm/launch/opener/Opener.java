package opener;

import java.lang.reflect.Field;

// The main of an executable jar whose manifest opens java.lang and enables
// native access for the class path.
public class Opener {
    public static void main(String[] args) throws Exception {
        Field value = Integer.class.getDeclaredField("value");
        try {
            value.setAccessible(true);
            System.out.println("opened=1");
        } catch (java.lang.reflect.InaccessibleObjectException e) {
            System.out.println("opened=0");
        }
        System.out.flush();
        System.load(System.getProperty("java.home") + "/lib/libnet.so");
        System.out.println("loaded=1");
    }
}
