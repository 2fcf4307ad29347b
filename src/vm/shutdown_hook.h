#pragma once
// A native shutdown hook: the launcher holds no Java code, so it defines a
// tiny class whose run() is native and registers an instance of it with
// Runtime.addShutdownHook. Portable: it runs against any runtime that honours
// the JNI, natively and on Windows.
#include <jni.h>

// Called on a shutdown-hook thread of the VM once it begins to shut down
// (its last non-daemon thread has ended, or System.exit was called), while
// Java code still runs; the VM ends only after it has returned.
using ShutdownCallback = void (*)(void* context);

// Registers the callback; at most one per process, set before the VM can
// shut down. False, with no exception pending, when the runtime refuses.
bool addShutdownCallback(JNIEnv* env, ShutdownCallback callback, void* context);
