#pragma once

// A dialog described as data, the way a resource script describes it, and turned into widgets
// by BuildDialog (dialog_builder.h).
//
// How to describe a dialog:
// - List its controls in template order: that order is the creation order, the tab order of
//   the controls marked kTabStop, and the order in which kGroupStart opens a new group of
//   radio buttons.
// - Give each control its id (kNoControlId for a label, group box or picture that nothing
//   addresses), its kind, its text, and its position and size in dialog units: x and width
//   in quarters of the font's average character width, y and height in eighths of its height.
//   A combo box's height is that of its drop-down list; the field itself keeps the height the
//   toolkit gives it.
// - Controls without an id may carry a descriptive name; it becomes the widget's object name.
// - Put the dialog's caption, client size in dialog units, point size and window frame flags
//   into a DialogTemplate whose controls span points at the list.
// Templates live in their own files (template_102_main.cpp, ...) as constant data.

#include <cstdint>
#include <span>
#include <string_view>

namespace rq508 {

constexpr int kNoControlId = -1;  // 0xFFFF in a resource script

// The Windows control ids with a meaning of their own to the dialog manager.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

enum class ControlKind {
    GroupBox,
    StaticText,
    ComboBoxWithEdit,  // drop-down list with an edit field
    RadioButton,
    EditBox,
    PushButton,
    DefaultPushButton,
    StaticPicture,  // the picture is set by the dialog that owns it
};

// The styles that change behaviour or look; plain flags so that a dialog can also read them.
enum ControlStyle : uint32_t {
    kStyleNone = 0,
    kTabStop = 1u << 0,         // WS_TABSTOP: reached by Tab
    kGroupStart = 1u << 1,      // WS_GROUP: opens a new group of radio buttons
    kDisabled = 1u << 2,        // WS_DISABLED
    kAutoRadio = 1u << 3,       // BS_AUTORADIOBUTTON: a click checks it and unchecks the group
    kSorted = 1u << 4,          // CBS_SORT: only sorts entries added without a position
    kVerticalScroll = 1u << 5,  // WS_VSCROLL on a list
    kBorder = 1u << 6,          // WS_BORDER on an edit box
    kAutoHScroll = 1u << 7,     // ES_AUTOHSCROLL
    kAlignRight = 1u << 8,      // SS_RIGHT
    kAlignCenter = 1u << 9,     // SS_CENTER
    kCenterImage = 1u << 10,    // SS_CENTERIMAGE: text centred vertically, a picture centred
    kNotify = 1u << 11,         // SS_NOTIFY: a static control that reports clicks
    kNoPrefix = 1u << 12,       // SS_NOPREFIX: "&" is shown, not a mnemonic
};

// Window frame of the dialog itself.
enum DialogStyle : uint32_t {
    kDialogNone = 0,
    kSystemMenu = 1u << 0,   // WS_SYSMENU: close box and window menu
    kMinimizeBox = 1u << 1,  // WS_MINIMIZEBOX
    kAppWindow = 1u << 2,    // WS_EX_APPWINDOW: a taskbar button of its own
};

struct ControlTemplate {
    int id = kNoControlId;
    ControlKind kind = ControlKind::StaticText;
    std::string_view text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    uint32_t styles = kStyleNone;
    std::string_view name;  // what the control is; the object name of a control without an id
};

struct DialogTemplate {
    int id = 0;
    std::string_view caption;
    int width = 0;   // client area, dialog units
    int height = 0;  // client area, dialog units
    // The templates name "Segoe UI Symbol", which Linux desktops lack: the builder takes the
    // desktop's default font family at this point size instead.
    int fontPointSize = 9;
    uint32_t dialogStyles = kDialogNone;
    std::span<const ControlTemplate> controls;
};

}  // namespace rq508
