module app.lib {
    exports lib;
}
