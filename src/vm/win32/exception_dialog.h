#pragma once
#include <jni.h>

// Asks the user what to do about an exception that escaped the main method,
// showing its stack trace. True to stop the application: Stop, Esc, the
// close box, and a dialog that cannot be shown all stop it; Ignore goes on.
// No trace to show: no dialog, and the application goes on.
bool askStopOnException(JNIEnv* env, jthrowable thrown);
