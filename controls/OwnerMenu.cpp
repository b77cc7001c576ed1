#include "OwnerMenu.h"

#include "Dialog.h"
#include "MenuTemplate.h"
#include "OwnerMenuRules.h"

#include <algorithm>
#include <cstddef>
#include <new>

std::vector<HMENU> COwnerMenu::SubMenuHandles;
CImageList COwnerMenu::SharedImages;
std::vector<int> COwnerMenu::SharedImageIds;
int COwnerMenu::WindowsVersion = COwnerMenu::WindowsVersionCode();
bool COwnerMenu::ClassicThemeProbed = false;
BOOL COwnerMenu::ClassicThemeResult = FALSE;

namespace {

void EraseAll(std::vector<HMENU>& list, HMENU h)
{
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
}

}  // namespace

CString MenuItemText(HMENU menu, UINT position)
{
    int n = ::GetMenuStringW(menu, position, nullptr, 0, MF_BYPOSITION);
    if (n <= 0)
        return CString();
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetMenuStringW(menu, position, &text[0], n + 1, MF_BYPOSITION);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return CString(text);
}

HFONT CreateMenuFont()
{
    // The record without the trailing padded-border field, which systems
    // before Vista reject.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return nullptr;
    return ::CreateFontIndirectW(&metrics.lfMenuFont);
}

// ---- the object and its handle ----------------------------------------------

COwnerMenu::COwnerMenu() = default;

COwnerMenu::~COwnerMenu()
{
    DestroyMenu();
    UnregisterMenuOwner(this);
}

bool COwnerMenu::Attach(HMENU menu)
{
    if (!menu || m_hMenu)
        return false;
    m_hMenu = menu;
    RegisterOwnerMenu(menu, this);
    return true;
}

HMENU COwnerMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h && OwnerOfMenu(h) == this)
        UnregisterOwnerMenu(h);
    m_hMenu = nullptr;
    return h;
}

COwnerMenu* COwnerMenu::FromHandle(HMENU menu)
{
    return menu ? dynamic_cast<COwnerMenu*>(OwnerOfMenu(menu)) : nullptr;
}

// ---- the tree -------------------------------------------------------------------

BOOL COwnerMenu::DestroyMenu()
{
    HMENU h = m_hMenu;
    if (h)
        EraseAll(SubMenuHandles, h);
    for (size_t i = subMenus.size(); i-- > 0;) {
        HMENU sub = subMenus[i];
        EraseAll(SubMenuHandles, sub);
        // Out of this menu first, so that destroying it leaves the sub-menu
        // alone: a made one is destroyed by its own object, the caller's
        // stays the caller's.
        for (int pos = h ? ::GetMenuItemCount(h) : 0; pos-- > 0;)
            if (::GetSubMenu(h, pos) == sub)
                ::RemoveMenu(h, static_cast<UINT>(pos), MF_BYPOSITION);
        auto made = std::find_if(madeSubMenus.begin(), madeSubMenus.end(),
                                 [sub](COwnerMenu* m) { return m->m_hMenu == sub; });
        if (made != madeSubMenus.end()) {
            delete *made;
            madeSubMenus.erase(made);
        }
    }
    subMenus.clear();
    for (COwnerMenu* m : madeSubMenus)  // made but never appended
        delete m;
    madeSubMenus.clear();
    for (COwnerMenuData* r : items)
        delete r;
    items.clear();
    if (checkImages && !checkImagesShared) {
        delete checkImages;
        checkImages = nullptr;
    }
    if (!h)
        return FALSE;
    Detach();
    return ::DestroyMenu(h);
}

BOOL COwnerMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR id)
{
    if (id == 0)
        flags = (flags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    else
        flags |= MF_OWNERDRAW;
    HMENU popup = (flags & MF_POPUP) ? reinterpret_cast<HMENU>(id) : nullptr;
    COwnerMenuData* record = new (std::nothrow) COwnerMenuData;
    if (!record)
        return FALSE;
    record->SetText(text);
    for (size_t k = 0; k < SharedImageIds.size(); ++k)
        if (static_cast<UINT_PTR>(static_cast<UINT>(SharedImageIds[k])) == id) {
            record->sharedImageOffset = static_cast<int>(k);
            break;
        }
    record->flags = flags;
    record->commandId = id;
    BOOL ok = ::AppendMenuW(m_hMenu, flags, id, reinterpret_cast<LPCWSTR>(record));
    if (!ok) {
        // Records follow the menu's positions: no item, no record.
        delete record;
        return FALSE;
    }
    items.push_back(record);
    if (popup) {
        SubMenuHandles.push_back(popup);
        subMenus.push_back(popup);
    }
    if (loadedFromResource)
        RestoreTopLevelStrings();
    return ok;
}

COwnerMenuData* COwnerMenu::ModifyItem(UINT position, UINT flags, UINT_PTR id, const CString& text)
{
    COwnerMenuData* record = new (std::nothrow) COwnerMenuData;
    if (!record)
        return nullptr;
    record->SetText(text.c_str());
    record->flags = flags;
    record->commandId = id;
    LPCWSTR item = (flags & MF_OWNERDRAW) ? reinterpret_cast<LPCWSTR>(record) : text.c_str();
    ::ModifyMenuW(m_hMenu, position, flags, id, item);
    return record;
}

BOOL COwnerMenu::LoadMenu(UINT id)
{
    return LoadMenu(MAKEINTRESOURCEW(id));
}

BOOL COwnerMenu::LoadMenu(const wchar_t* name)
{
    HMODULE module = CDialog::ResourceModule();
    HRSRC found = ::FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_MENU));
    if (!found) {
        module = ::GetModuleHandleW(nullptr);
        found = ::FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_MENU));
    }
    if (!found)
        return FALSE;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded)
        return FALSE;
    std::vector<MenuTemplateStep> steps;
    const bool wellFormed = ParseMenuTemplate(::LockResource(loaded), ::SizeofResource(module, found), &steps);

    DestroyMenu();
    if (!wellFormed)
        return FALSE;
    HMENU root = ::CreateMenu();
    if (!root)
        return FALSE;
    Attach(root);

    std::vector<COwnerMenu*> open(1, this);
    for (const MenuTemplateStep& step : steps) {
        COwnerMenu* top = open.back();
        if (step.kind == MenuTemplateStep::Close) {
            top->PadAcceleratorLabels();
            open.pop_back();
            continue;
        }
        const UINT flags = step.flags & ~static_cast<UINT>(MF_END);
        if (!(flags & MF_POPUP)) {
            top->AppendItem(step.caption.c_str(), flags, step.id);
            continue;
        }
        COwnerMenu* sub = new (std::nothrow) COwnerMenu;
        HMENU popup = sub ? ::CreatePopupMenu() : nullptr;
        if (!popup) {
            delete sub;
            DestroyMenu();
            return FALSE;
        }
        sub->unselectedCheckImage = unselectedCheckImage;
        sub->selectedCheckImage = selectedCheckImage;
        sub->checkImages = checkImages;
        sub->checkImagesShared = true;
        sub->Attach(popup);
        top->madeSubMenus.push_back(sub);
        top->AppendItem(step.caption.c_str(), flags, reinterpret_cast<UINT_PTR>(popup));
        open.push_back(sub);
    }

    // The top level shows system-drawn strings.
    for (int i = 0; i < ::GetMenuItemCount(m_hMenu) && static_cast<size_t>(i) < items.size(); ++i) {
        COwnerMenuData* record = items[i];
        CString text = record->GetText();
        if (HMENU sub = ::GetSubMenu(m_hMenu, i)) {
            record->flags = MF_BYPOSITION | MF_POPUP;
            ::ModifyMenuW(m_hMenu, i, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else {
            record->flags = MF_BYPOSITION | MF_STRING;
            ::ModifyMenuW(m_hMenu, i, MF_BYPOSITION | MF_STRING, record->commandId, text.c_str());
        }
    }
    loadedFromResource = true;
    return TRUE;
}

int COwnerMenu::FindListStart()
{
    if (!loadedFromResource)
        return 0;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int m = 0; m < count; ++m) {
        CString caption = MenuItemText(m_hMenu, m);
        if (caption.empty())
            continue;
        for (size_t l = 0; l < items.size(); ++l)
            if (items[l]->GetText() == caption)
                return m >= static_cast<int>(l) ? m - static_cast<int>(l) : 0;
    }
    return 0;
}

void COwnerMenu::RestoreTopLevelStrings()
{
    const size_t n = items.size();
    size_t j = 0;
    for (int i = FindListStart(); i < ::GetMenuItemCount(m_hMenu) && j < n; ++i, ++j) {
        HMENU sub = ::GetSubMenu(m_hMenu, i);
        if (!sub)
            continue;
        items[j]->flags = MF_BYPOSITION | MF_POPUP;
        ::ModifyMenuW(m_hMenu, i, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                      items[j]->GetText().c_str());
    }
}

void COwnerMenu::PadAcceleratorLabels()
{
    HFONT font = CreateMenuFont();
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    std::vector<std::wstring> texts;
    for (const COwnerMenuData* r : items)
        texts.push_back(r->GetText());
    owner_menu::PadAcceleratorTexts(texts, [dc](const std::wstring& s) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    });
    for (size_t i = 0; i < items.size(); ++i)
        if (texts[i] != items[i]->GetText())
            items[i]->SetText(texts[i].c_str());
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    if (font)
        ::DeleteObject(font);
}

// ---- matching the records to the menu again ----------------------------------

COwnerMenuData* COwnerMenu::ClaimRecordById(UINT_PTR id)
{
    for (COwnerMenuData* r : items)
        if (!r->synced && r->commandId == id) {
            r->synced = 1;
            return r;
        }
    return nullptr;
}

void COwnerMenu::DeleteUnclaimedRecords()
{
    auto keep = std::stable_partition(items.begin(), items.end(), [](COwnerMenuData* r) { return r->synced != 0; });
    for (auto it = keep; it != items.end(); ++it)
        delete *it;
    items.erase(keep, items.end());
}

void COwnerMenu::ResyncRecords()
{
    for (COwnerMenuData* r : items)
        r->synced = 0;
    std::vector<COwnerMenuData*> fresh;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int j = 0; j < count; ++j) {
        const UINT pos = static_cast<UINT>(j);
        UINT state = ::GetMenuState(m_hMenu, pos, MF_BYPOSITION);
        if (state == static_cast<UINT>(-1))
            continue;
        COwnerMenuData* record = nullptr;
        if (state & MF_POPUP & 0xFF) {
            // A popup's high byte is its item count, not flags.
            state &= 0xFF;
            HMENU sub = ::GetSubMenu(m_hMenu, j);
            record = ClaimRecordById(reinterpret_cast<UINT_PTR>(sub));
            CString caption = MenuItemText(m_hMenu, pos);
            if (!record)
                record = ModifyItem(pos, (state & 0xEF) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP,
                                    reinterpret_cast<UINT_PTR>(sub), caption);
            else if (!caption.empty())
                record->SetText(caption.c_str());
        } else if (state & MF_SEPARATOR) {
            record = ClaimRecordById(0);
            if (!record)
                record = ModifyItem(pos, state | MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR, 0, CString());
            else
                ::ModifyMenuW(m_hMenu, pos, record->flags | MF_BYPOSITION, 0, reinterpret_cast<LPCWSTR>(record));
        } else {
            UINT id = ::GetMenuItemID(m_hMenu, j);
            record = ClaimRecordById(id);
            CString caption = MenuItemText(m_hMenu, pos);
            if (record) {
                record->flags = state | MF_BYPOSITION | MF_OWNERDRAW;
                if (!caption.empty())
                    record->SetText(caption.c_str());
                ::ModifyMenuW(m_hMenu, pos, record->flags, id, reinterpret_cast<LPCWSTR>(record));
            } else {
                record = ModifyItem(pos, state | MF_BYPOSITION | MF_OWNERDRAW, id, caption);
            }
        }
        if (record)
            fresh.push_back(record);
    }
    DeleteUnclaimedRecords();
    items = std::move(fresh);
}

// ---- the environment ------------------------------------------------------------

int COwnerMenu::WindowsVersionCode()
{
    const DWORD version = ::GetVersion();
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    bool known = false;
    if (!((version & 0x80000000u) && LOBYTE(LOWORD(version)) < 4))
        known = ::GetVersionExA(&info) != 0;
    return owner_menu::VersionCodeFrom(version, known ? &info : nullptr);
}

BOOL COwnerMenu::IsClassicTheme()
{
    if (ClassicThemeProbed)
        return ClassicThemeResult;
    ClassicThemeProbed = true;
    ClassicThemeResult = FALSE;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return FALSE;
    BYTE value[MAX_PATH * sizeof(wchar_t)] = {};
    DWORD type = 0, size = sizeof value;
    if (::RegQueryValueExW(key, nullptr, nullptr, &type, value, &size) == ERROR_SUCCESS)
        ClassicThemeResult = owner_menu::IsClassicThemeValue(type, value, size) ? TRUE : FALSE;
    ::RegCloseKey(key);
    return ClassicThemeResult;
}
