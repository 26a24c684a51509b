#include "general/general.h"

void InsertRadioItem(HMENU menu, const std::string& caption, UINT id, bool checked, int position)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    item.fType = MFT_RADIOCHECK;
    item.fState = checked ? MFS_CHECKED : 0;
    item.wID = id;
    // The platform copies the caption during the call.
    item.dwTypeData = const_cast<char*>(caption.c_str());
    item.cch = static_cast<UINT>(caption.size());
    InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &item);
}

void AppendRadioItem(HMENU menu, const std::string& caption, UINT id, bool checked)
{
    InsertRadioItem(menu, caption, id, checked, GetMenuItemCount(menu));
}

bool IsMenuItemChecked(HMENU menu, UINT id)
{
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    // A missing id answers 0xFFFFFFFF, which would otherwise read as checked.
    if (state == static_cast<UINT>(-1)) return false;
    return (state & MF_CHECKED) != 0;
}

void SetMenuItemChecked(HMENU menu, UINT id, bool checked)
{
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void ToggleMenuItemCheck(HMENU menu, UINT id)
{
    SetMenuItemChecked(menu, id, !IsMenuItemChecked(menu, id));
}
