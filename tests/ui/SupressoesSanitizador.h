// What the sanitizer builds must not report from the window tests, and why.
#pragma once

// Qt is not built for ThreadSanitizer: its mutexes and wait conditions are futexes the tool cannot see,
// so every hand-over through Qt's event queue or its thread pool (the raster painter uses one) looks
// like a race. The window's own hand-over between threads is the line queue, which is checked by its
// own tests with no Qt in between.
inline constexpr const char* SUPRESSOES_TSAN =
    "race:libQt6Core.so\n"
    "race:libQt6Gui.so\n"
    "race:libQt6Widgets.so\n"
    "race:libQt6XcbQpa.so\n"
    "race:libQt6DBus.so\n"
    "race:QMetaObject::invokeMethod\n"
    "mutex:libQt6Core.so\n"
    "deadlock:libQt6Core.so\n"
    // The same goes for the libraries under Qt: GLib's event loop and allocator, and the X client
    // library, whose two internal locks the tool sees taken in both orders.
    "race:libglib-2.0.so\n"
    "race:libxcb.so\n"
    "deadlock:libxcb.so\n"
    "race:libdbus-1.so\n";

// D-Bus, which Qt's X platform loads, keeps a buffer to the end of the process.
inline constexpr const char* SUPRESSOES_LSAN = "leak:libdbus-1.so\n";
