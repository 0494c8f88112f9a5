// The configuration dialog's procedure: the mirror check box shows the setting, OK stores it,
// Cancel stores nothing. Pairs with settings.cpp; the dialog template is in the resources.
#include "host/saver.h"
#include "host/saver_constants.h"

namespace {
constexpr std::intptr_t kTrue = 1;
constexpr std::intptr_t kFalse = 0;
}  // namespace

std::intptr_t configDialogProc(platform::WindowHandle dialog, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t /*lParam*/) {
    SaverSettings* settings = host.settings;
    if (!settings) return kFalse;
    if (message == WM_INITDIALOG) {
        // Any non-zero value draws the mirrors, so it shows as checked: OK without a change then
        // keeps them on.
        platform::checkDlgButton(dialog, kUseMirrorsCheckBox, settings->useMirrors != 0 ? BST_CHECKED : BST_UNCHECKED);
        // TRUE: the platform gives the focus to the first control that takes it.
        return kTrue;
    }
    if (message != WM_COMMAND) return kFalse;
    // The low word is the control; the notification code in the high word does not matter.
    switch (static_cast<std::intptr_t>(wParam & 0xFFFF)) {
    case IDOK:
        settings->useMirrors = platform::isDlgButtonChecked(dialog, kUseMirrorsCheckBox) == BST_CHECKED ? 1 : 0;
        writeOwnSettings(*settings);
        platform::endDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        platform::endDialog(dialog, IDCANCEL);
        break;
    default:
        break;
    }
    return kFalse;
}
