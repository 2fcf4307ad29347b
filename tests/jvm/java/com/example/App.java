package com.example;

// Prints each argument as its UTF-16 code units, so the test sees exactly
// what main received.
public class App {
    public static void main(String[] args) {
        System.out.println("argc=" + args.length);
        for (String arg : args) {
            StringBuilder units = new StringBuilder("arg16=");
            for (int i = 0; i < arg.length(); i++) {
                units.append(String.format("%04x ", (int) arg.charAt(i)));
            }
            System.out.println(units.toString().trim());
        }
    }
}
