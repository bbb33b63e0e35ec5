#include "win32/TrayIcon.h"

#include <shellapi.h>

namespace kadrilo::win32 {
namespace {

using layout::TrayCommand;

constexpr int MenuImageMargin = 2;  // beside a menu item's picture

NOTIFYICONDATAW IconData(HWND main) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = main;
    data.uID = 0;
    return data;
}

}  // namespace

bool TrayIcon::AddTrayIcon() {
    NOTIFYICONDATAW data = IconData(main_);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_USER;
    data.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    lstrcpynW(data.szTip, Wide(ProgramCaption).c_str(), 64);
    return Shell_NotifyIconW(NIM_ADD, &data) != 0;
}

void TrayIcon::DeleteTrayIcon() {
    NOTIFYICONDATAW data = IconData(main_);
    Shell_NotifyIconW(NIM_DELETE, &data);  // failures are ignored: the timer repairs a lost icon
}

void TrayIcon::MarkWorkMode(int mode) {
    if (mode >= 0 && mode <= 3) markedMode_ = mode;
}

void TrayIcon::ShowTrayMenu() {
    if (!form_) return;
    UniqueMenu menu(CreatePopupMenu());
    HMENU modeMenu = CreatePopupMenu();  // destroyed with the menu once it is attached
    for (const layout::TrayMenuItem& item : layout::TrayMenuItems()) {
        HMENU target = item.inModeMenu ? modeMenu : menu.get();
        const UINT id = CommandBaseId + static_cast<UINT>(item.command);
        if (item.command == TrayCommand::Separator) {
            AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const int mode = layout::TrayCommandMode(item.command);
        std::wstring text = Wide(form_->LoadStrEx(item.caption));
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
        info.wID = id;
        info.dwTypeData = text.data();
        info.hbmpItem = HBMMENU_CALLBACK;
        info.dwItemData = static_cast<ULONG_PTR>(mode >= 0 ? layout::ModeImage(mode, mode == markedMode_) : item.image);
        if (item.command == TrayCommand::Mode) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = modeMenu;
        }
        InsertMenuItemW(target, GetMenuItemCount(target), TRUE, &info);
        if (item.command == TrayCommand::Settings || (mode >= 0 && mode == markedMode_))
            SetMenuDefaultItem(target, id, FALSE);
    }
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(main_);
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, main_, nullptr);
    PostMessageW(main_, WM_NULL, 0, 0);
}

bool TrayIcon::OnCommand(int id) {
    if (!form_ || id < CommandBaseId) return false;
    const auto command = static_cast<TrayCommand>(id - CommandBaseId);
    const int mode = layout::TrayCommandMode(command);
    if (mode >= 0) {
        form_->SetWorkModeFromMenu(mode);
        return true;
    }
    switch (command) {
        case TrayCommand::Settings: form_->OpenProgramSettings(); break;
        case TrayCommand::About: form_->N8Click(); break;
        case TrayCommand::Quit: form_->SpeedButton4Click(); break;
        default: break;
    }
    return true;
}

void TrayIcon::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemWidth = ImageSize + 2 * MenuImageMargin;
    item.itemHeight = ImageSize;
}

void TrayIcon::DrawMenuImage(const DRAWITEMSTRUCT& item) {
    const int left = (item.rcItem.left + item.rcItem.right - ImageSize) / 2;
    const int top = (item.rcItem.top + item.rcItem.bottom - ImageSize) / 2;
    ImageList_Draw(resources_.images.get(), static_cast<int>(item.itemData), item.hDC, left, top, ILD_TRANSPARENT);
}

}  // namespace kadrilo::win32
