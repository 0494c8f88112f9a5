// The saver's X error handlers put back once GTK has started on a connection of its own, as the
// dialogs module does: GTK's error traps still see the errors of GTK's connection (GTK hands them to
// its own handler for the length of a trap), and the saver's trap those of the saver's.
// Pairs with host/platform/x11_display.cpp and x11_dialogs.cpp.
// GoogleTest first: Xlib's macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "host/platform/x11_internal.h"

namespace {

TEST(X11ErrorHandlers, GtkTrapsAndTheSaversTrapEachSeeTheErrorsOfTheirOwnConnection) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    Display* own = x11::display();
    ASSERT_NE(own, nullptr);
    gdk_set_allowed_backends("x11");
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    x11::installErrorHandlers();  // as the dialogs module's start does
    // A window id that no longer names a window.
    const Window gone = XCreateSimpleWindow(own, DefaultRootWindow(own), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(own, gone);
    XSync(own, False);

    GdkDisplay* gdk = gdk_display_get_default();
    ASSERT_NE(GDK_DISPLAY_XDISPLAY(gdk), own);
    gdk_x11_display_error_trap_push(gdk);
    XMapWindow(GDK_DISPLAY_XDISPLAY(gdk), gone);
    EXPECT_EQ(gdk_x11_display_error_trap_pop(gdk), BadWindow);

    x11::beginErrorTrap();
    XMapWindow(own, gone);
    EXPECT_EQ(x11::endErrorTrap(), BadWindow);
}

}  // namespace
