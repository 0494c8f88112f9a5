// The Linux build's dialogs with GTK 3, built as the module of gtk_dialogs.h: the message box and the modal
// configuration dialog of host/platform.h. Loaded only when one of them is shown.
#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <initializer_list>

#include "host/platform/gtk_dialogs.h"
#include "host/saver_constants.h"
#include "host/saver_ids.h"

namespace {

// The three lines of the notice, shown under the version as the dialog's template places them.
constexpr const char* kNoticeOfRights = "(c) 2026 Morvane developers";
constexpr const char* kContactAddress = "info@mrv.test";
constexpr const char* kWebAddress = "www.mrv.test";

const gtkdialogs::Host* host = nullptr;

// GTK opens its own connection to the X server, or to the Wayland compositor of a session without X.
bool start(const gtkdialogs::Host* caller) {
    host = caller;
    // Window handles are X window ids, so X11 comes first, where there is one: only there can a
    // dialog own or be owned by another program's window.
    gdk_set_allowed_backends("x11,wayland");
    // Keep the C locale the rest of the program formats and parses numbers in.
    gtk_disable_setlocale();
    return gtk_init_check(nullptr, nullptr);
}

// The X window `owner` names, for a transient-for hint; null for none or a window that does not exist.
GdkWindow* foreignWindow(platform::WindowHandle owner) {
    GdkDisplay* display = gdk_display_get_default();
    if (owner == 0 || !display || !GDK_IS_X11_DISPLAY(display)) return nullptr;
    return gdk_x11_window_foreign_new_for_display(display, static_cast<Window>(owner));
}

void makeTransientFor(GtkWidget* window, platform::WindowHandle owner) {
    GdkWindow* parent = foreignWindow(owner);
    if (!parent) return;
    gtk_widget_realize(window);
    gdk_window_set_transient_for(gtk_widget_get_window(window), parent);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ON_PARENT);
    g_object_unref(parent);
}

void drainEvents() {
    while (gtk_events_pending()) gtk_main_iteration();
}

struct LiveDialog {
    platform::WindowHandle handle = 0;
    platform::DialogProc proc = nullptr;
    GtkWidget* window = nullptr;
    GtkWidget* okButton = nullptr;
    GtkWidget* cancelButton = nullptr;
    GtkWidget* useMirrors = nullptr;
    GMainLoop* loop = nullptr;
    bool ended = false;
    bool settingCheck = false;  // a check set by the program, not a click: no notification
    std::intptr_t result = 0;
};

// The modal dialog now open; the one before it while a dialog procedure opens another.
LiveDialog* liveDialog = nullptr;

LiveDialog* dialogFromHandle(platform::WindowHandle handle) {
    return liveDialog && liveDialog->handle == handle && handle != 0 ? liveDialog : nullptr;
}

// A button's notification: WM_COMMAND with the control id in the low 16 bits and BN_CLICKED (0) above.
void sendCommand(LiveDialog& dialog, std::int32_t id) {
    if (dialog.ended) return;
    dialog.proc(dialog.handle, WM_COMMAND, static_cast<std::uint16_t>(id), 0);
}

void onOk(GtkButton*, gpointer data) {
    sendCommand(*static_cast<LiveDialog*>(data), static_cast<std::int32_t>(IDOK));
}

void onCancel(GtkButton*, gpointer data) {
    sendCommand(*static_cast<LiveDialog*>(data), static_cast<std::int32_t>(IDCANCEL));
}

void onUseMirrorsClicked(GtkButton*, gpointer data) {
    LiveDialog& dialog = *static_cast<LiveDialog*>(data);
    if (!dialog.settingCheck) sendCommand(dialog, kUseMirrorsCheckBox);
}

// The caption's close button is Cancel; the window stays until the procedure ends the dialog.
gboolean onDeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
    sendCommand(*static_cast<LiveDialog*>(data), static_cast<std::int32_t>(IDCANCEL));
    return TRUE;
}

// Enter presses the default button (OK), or Cancel when Cancel has the focus; Escape is Cancel.
gboolean onKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data) {
    LiveDialog& dialog = *static_cast<LiveDialog*>(data);
    switch (event->keyval) {
        case GDK_KEY_Escape:
            sendCommand(dialog, static_cast<std::int32_t>(IDCANCEL));
            return TRUE;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter: {
            bool onCancelButton = gtk_window_get_focus(GTK_WINDOW(window)) == dialog.cancelButton;
            sendCommand(dialog, static_cast<std::int32_t>(onCancelButton ? IDCANCEL : IDOK));
            return TRUE;
        }
        default:
            return FALSE;
    }
}

GtkWidget* staticText(const char* text) {
    GtkWidget* label = gtk_label_new(text);
    gtk_widget_set_halign(label, GTK_ALIGN_START);
    gtk_label_set_selectable(GTK_LABEL(label), FALSE);
    return label;
}

// The template's two columns: the check box and the static lines on the left, top to bottom as their
// positions give them (check box, version, e-mail and web address together, notice of rights); OK over
// Cancel on the right. Tab order is the template's: OK, Cancel, check box.
void buildConfigDialog(LiveDialog& dialog) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    dialog.window = window;
    gtk_window_set_title(GTK_WINDOW(window), "Config dialog");
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_container_set_border_width(GTK_CONTAINER(window), 10);

    GtkWidget* columns = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
    gtk_container_add(GTK_CONTAINER(window), columns);

    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    dialog.okButton = gtk_button_new_with_label("OK");
    dialog.cancelButton = gtk_button_new_with_label("Cancel");
    gtk_widget_set_size_request(dialog.okButton, 80, -1);
    gtk_widget_set_size_request(dialog.cancelButton, 80, -1);
    gtk_widget_set_can_default(dialog.okButton, TRUE);
    gtk_box_pack_start(GTK_BOX(buttons), dialog.okButton, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(buttons), dialog.cancelButton, FALSE, FALSE, 0);

    GtkWidget* details = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    dialog.useMirrors = gtk_check_button_new_with_label("Use Mirrors");
    gtk_widget_set_margin_top(dialog.useMirrors, 12);
    GtkWidget* version = staticText("Version 1.0");
    gtk_widget_set_margin_top(version, 16);
    GtkWidget* contact = staticText(kContactAddress);
    gtk_widget_set_margin_top(contact, 16);
    GtkWidget* web = staticText(kWebAddress);
    GtkWidget* rights = staticText(kNoticeOfRights);
    gtk_widget_set_margin_top(rights, 10);
    for (GtkWidget* child : {dialog.useMirrors, version, contact, web, rights}) {
        gtk_box_pack_start(GTK_BOX(details), child, FALSE, FALSE, 0);
    }

    gtk_box_pack_start(GTK_BOX(columns), details, TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(columns), buttons, FALSE, FALSE, 0);

    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    GList* chain = g_list_append(nullptr, buttons);
    chain = g_list_append(chain, details);
    gtk_container_set_focus_chain(GTK_CONTAINER(columns), chain);
    g_list_free(chain);
    G_GNUC_END_IGNORE_DEPRECATIONS

    g_signal_connect(dialog.okButton, "clicked", G_CALLBACK(onOk), &dialog);
    g_signal_connect(dialog.cancelButton, "clicked", G_CALLBACK(onCancel), &dialog);
    g_signal_connect(dialog.useMirrors, "clicked", G_CALLBACK(onUseMirrorsClicked), &dialog);
    g_signal_connect(window, "delete-event", G_CALLBACK(onDeleteEvent), &dialog);
    g_signal_connect(window, "key-press-event", G_CALLBACK(onKeyPress), &dialog);
    gtk_widget_show_all(columns);
}

// A stop signal that arrives while a message box is up dismisses it, so that the run still ends
// promptly and through its tear-down (which puts the server's blanking back).
gboolean dismissOnStop(gpointer box) {
    if (host->stopRequested()) gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    return G_SOURCE_CONTINUE;
}

void messageBox(platform::WindowHandle owner, const char* text, const char* title) {
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), title);
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    makeTransientFor(box, owner);
    const guint stopWatch = g_timeout_add(100, dismissOnStop, box);
    gtk_dialog_run(GTK_DIALOG(box));
    g_source_remove(stopWatch);
    gtk_widget_destroy(box);
    drainEvents();
}

std::intptr_t configDialog(platform::WindowHandle owner, platform::DialogProc proc, std::intptr_t initParam) {
    LiveDialog dialog;
    dialog.proc = proc;
    buildConfigDialog(dialog);
    makeTransientFor(dialog.window, owner);
    gtk_widget_realize(dialog.window);
    GdkWindow* gdkWindow = gtk_widget_get_window(dialog.window);
    // On Wayland no other program can name the dialog: any handle of its own that is not 0 does.
    dialog.handle = GDK_IS_X11_WINDOW(gdkWindow) ? gdk_x11_window_get_xid(gdkWindow)
                                                 : reinterpret_cast<platform::WindowHandle>(gdkWindow);
    if (dialog.handle == 0) {
        gtk_widget_destroy(dialog.window);
        return -1;
    }

    LiveDialog* outer = liveDialog;
    liveDialog = &dialog;
    // wParam names the control about to get the focus; the procedure answers TRUE to let it have it.
    if (proc(dialog.handle, WM_INITDIALOG, 0, initParam)) {
        gtk_widget_grab_focus(dialog.okButton);
    }
    gtk_widget_grab_default(dialog.okButton);
    if (!dialog.ended) {
        gtk_window_present(GTK_WINDOW(dialog.window));
        dialog.loop = g_main_loop_new(nullptr, FALSE);
        g_main_loop_run(dialog.loop);
        g_main_loop_unref(dialog.loop);
        dialog.loop = nullptr;
    }
    liveDialog = outer;
    gtk_widget_destroy(dialog.window);
    drainEvents();
    return dialog.result;
}

bool checkDlgButton(platform::WindowHandle handle, std::int32_t id, std::uint32_t check) {
    LiveDialog* dialog = dialogFromHandle(handle);
    if (!dialog || id != kUseMirrorsCheckBox) return false;
    // Any non-zero state shows as checked, as the saver treats any non-zero setting as on.
    dialog->settingCheck = true;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(dialog->useMirrors), check != BST_UNCHECKED);
    dialog->settingCheck = false;
    return true;
}

std::uint32_t isDlgButtonChecked(platform::WindowHandle handle, std::int32_t id) {
    LiveDialog* dialog = dialogFromHandle(handle);
    if (!dialog || id != kUseMirrorsCheckBox) return BST_UNCHECKED;
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(dialog->useMirrors)) ? BST_CHECKED : BST_UNCHECKED;
}

bool endDialog(platform::WindowHandle handle, std::intptr_t result) {
    LiveDialog* dialog = dialogFromHandle(handle);
    if (!dialog) return false;
    dialog->ended = true;
    dialog->result = result;
    if (dialog->loop) g_main_loop_quit(dialog->loop);
    return true;
}

const gtkdialogs::Module table = {start, messageBox, configDialog, checkDlgButton, isDlgButtonChecked, endDialog};

}  // namespace

extern "C" __attribute__((visibility("default"))) const gtkdialogs::Module* morvane_gtk_dialogs(std::uint32_t version) {
    return version == gtkdialogs::kInterface ? &table : nullptr;
}
