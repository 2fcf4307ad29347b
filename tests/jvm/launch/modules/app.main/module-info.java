module app.main {
    requires app.lib;
    requires java.sql;
}
