#include "vehicle/DlgSpeedometer.h"

#include "playback/AboutDlg.h"
#include "AppSettings.h"
#include "DataExchange.h"
#include "LanguageHolder.h"
#include "app/MainWindow.h"
#include "app/Relaunch.h"
#include "vehicle/SidePanelLayout.h"
#include "TextExtent.h"
#include "StringIds.h"

#include <cstdio>

extern HWND g_hMainWnd;

namespace {

const COLORREF kTransparent = RGB(25, 25, 25);
const int kTrackRadios[4] = {IDC_TRACK_RED, IDC_TRACK_GREEN, IDC_TRACK_BLUE, IDC_TRACK_BLACK};

HBITMAP LoadButtonBitmap(int id)
{
    return static_cast<HBITMAP>(::LoadImageW(CDialog::ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                             LR_LOADMAP3DCOLORS));
}

void Place(HWND dialog, int id, const PanelRect& r)
{
    if (HWND w = ::GetDlgItem(dialog, id))
        ::MoveWindow(w, r.x, r.y, r.w, r.h, TRUE);
}

// What the widest value a box holds (a sign, three-digit degrees and four
// decimals, in the font's widest digit) needs of the box's width: the text
// and the margins the box keeps beside it, which follow the font.
int WidestValueWidth(HWND box)
{
    if (!box)
        return 0;
    wchar_t widest = L'0';
    int widestWidth = 0;
    for (wchar_t d = L'0'; d <= L'9'; ++d) {
        const int w = TextWidth(box, std::wstring(1, d));
        if (w > widestWidth) {
            widestWidth = w;
            widest = d;
        }
    }
    std::wstring value = L"-000.0000";
    for (wchar_t& c : value)
        if (c == L'0')
            c = widest;
    const LRESULT margins = ::SendMessageW(box, EM_GETMARGINS, 0, 0);
    return TextWidth(box, value) + LOWORD(margins) + HIWORD(margins);
}

}  // namespace

COLORREF TrackColour(int k)
{
    static const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(0, 0, 0)};
    return k >= 0 && k < 4 ? colours[k] : colours[0];
}

BEGIN_MESSAGE_TABLE(CSpeedometer, CDialog)
    OnMessage<&CSpeedometer::OnSize>(WM_SIZE),
    OnMessages<&CSpeedometer::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
    OnCommand<&CSpeedometer::OnTrackRed>(IDC_TRACK_RED, BN_CLICKED),
    OnCommand<&CSpeedometer::OnTrackGreen>(IDC_TRACK_GREEN, BN_CLICKED),
    OnCommand<&CSpeedometer::OnTrackBlue>(IDC_TRACK_BLUE, BN_CLICKED),
    OnCommand<&CSpeedometer::OnTrackBlack>(IDC_TRACK_BLACK, BN_CLICKED),
    OnCommand<&CSpeedometer::OnGpsFix>(IDC_GPS_FIX, BN_CLICKED),
    OnCommand<&CSpeedometer::OnMapProviderChanged>(IDC_MAP_PROVIDER, CBN_SELCHANGE),
    OnCommand<&CSpeedometer::OnToggleMap>(IDC_MAP_BUTTON, BN_CLICKED),
    OnCommand<&CSpeedometer::OnAbout>(IDC_ABOUT_BUTTON, BN_CLICKED),
END_MESSAGE_TABLE()

CSpeedometer::CSpeedometer() : CDialog(IDD_GPS_PANEL)
{
    brush.CreateSolidBrush(RGB(0, 0, 0));
}

CSpeedometer::~CSpeedometer()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (m_gauge)
        ::DeleteObject(m_gauge);
    if (m_separator)
        ::DeleteObject(m_separator);
}

void CSpeedometer::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_MAP_PROVIDER, mapProvider);
    DDX_Text(dx, IDC_GPS_LONGITUDE, longitudeText);
    DDX_Text(dx, IDC_GPS_LATITUDE, latitudeText);
    DDX_Text(dx, IDC_GPS_SPEED, speedValue);
}

BOOL CSpeedometer::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetGaugeImage(IDB_GAUGE_START);
    m_separator = LoadButtonBitmap(IDB_GPS_SEPARATOR);
    ::SendDlgItemMessageW(m_hWnd, IDC_GPS_SEPARATOR, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(m_separator));
    SetGaugeBySpeed(0);
    ::CheckDlgButton(m_hWnd, IDC_TRACK_RED, BST_CHECKED);
    mapButton.CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hWnd, IDC_MAP_BUTTON);
    aboutButton.CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hWnd, IDC_ABOUT_BUTTON);
    SetButtonImages(IDB_MAP_HIDE_SC, IDB_ABOUT_SC);
    UpdateData(false);
    shownLongitude = longitudeText;
    shownLatitude = latitudeText;
    shownSpeed = speedValue;
    Invalidate();
    return TRUE;
}

void CSpeedometer::SetGaugeImage(int bitmapId)
{
    HBITMAP next = LoadButtonBitmap(bitmapId);
    if (!next)
        return;
    ::SendDlgItemMessageW(m_hWnd, IDC_GPS_GAUGE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(next));
    if (m_gauge)
        ::DeleteObject(m_gauge);
    m_gauge = next;
    gaugeBitmap = bitmapId;
}

void CSpeedometer::SetGaugeBySpeed(int speed)
{
    const int id = GaugeBitmap(speed);
    if (id != gaugeBitmap)
        SetGaugeImage(id);
}

void CSpeedometer::SetSpeed(int speed)
{
    speedValue = speed;
    SetGaugeBySpeed(speed);
}

void CSpeedometer::Refresh()
{
    if (!m_hWnd)
        return;
    // Every frame comes here: a text is written (and its edit repainted)
    // only when it changed, and the rest of the panel is left alone.
    if (longitudeText != shownLongitude) {
        ::SetDlgItemTextW(m_hWnd, IDC_GPS_LONGITUDE, longitudeText.c_str());
        shownLongitude = longitudeText;
    }
    if (latitudeText != shownLatitude) {
        ::SetDlgItemTextW(m_hWnd, IDC_GPS_LATITUDE, latitudeText.c_str());
        shownLatitude = latitudeText;
    }
    if (speedValue != shownSpeed) {
        ::SetDlgItemInt(m_hWnd, IDC_GPS_SPEED, static_cast<UINT>(speedValue), TRUE);
        shownSpeed = speedValue;
    }
}

void CSpeedometer::SetButtonImages(int mapImage, int aboutImage)
{
    if (mapButton.m_hWnd) {
        mapButton.SetBitmap(LoadButtonBitmap(mapImage), kTransparent);
        mapButton.Invalidate();
    }
    if (aboutButton.m_hWnd) {
        aboutButton.SetBitmap(LoadButtonBitmap(aboutImage), kTransparent);
        aboutButton.Invalidate();
    }
}

void CSpeedometer::LoadLanguageImages()
{
    const GpsPanelImages images = GpsPanelImagesFor(g_Settings.languageCode);
    SetButtonImages(mapHidden ? images.mapHidden : images.mapShown, images.about);
}

void CSpeedometer::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (!mapButton.m_hWnd)
        return;
    const RECT c = GetClientRect();
    GpsTextWidths texts = {};
    texts.position = OwnTextWidth(GetDlgItem(IDC_POSITION_CAPTION));
    texts.longitude = OwnTextWidth(GetDlgItem(IDC_LONGITUDE_CAPTION));
    texts.latitude = OwnTextWidth(GetDlgItem(IDC_LATITUDE_CAPTION));
    texts.speed = OwnTextWidth(GetDlgItem(IDC_SPEED_CAPTION));
    texts.value = WidestValueWidth(GetDlgItem(IDC_GPS_LONGITUDE));
    texts.degree = OwnTextWidth(GetDlgItem(IDC_LONGITUDE_UNIT));
    texts.speedUnit = OwnTextWidth(GetDlgItem(IDC_SPEED_UNIT));
    texts.fix = OwnTextWidth(GetDlgItem(IDC_GPS_FIX_CAPTION));
    texts.track = OwnTextWidth(GetDlgItem(IDC_TRACK_CAPTION));
    for (int k = 0; k < 4; ++k)
        texts.colourNames[k] = OwnTextWidth(GetDlgItem(IDC_TRACK_RED_NAME + k));
    const GpsPanelLayout g = ComputeGpsPanelLayout(c.left, c.top, c.right - c.left, c.bottom - c.top, texts);
    Place(m_hWnd, IDC_MAP_PROVIDER, g.mapProvider);
    Place(m_hWnd, IDC_MAP_BUTTON, g.mapButton);
    Place(m_hWnd, IDC_ABOUT_BUTTON, g.aboutButton);
    Place(m_hWnd, IDC_TRACK_CAPTION, g.trackCaption);
    for (int k = 0; k < 4; ++k) {
        Place(m_hWnd, kTrackRadios[k], g.radios[k]);
        Place(m_hWnd, IDC_TRACK_RED_NAME + k, g.colourNames[k]);
    }
    Place(m_hWnd, IDC_GPS_SEPARATOR, g.separator);
    Place(m_hWnd, IDC_POSITION_CAPTION, g.positionCaption);
    Place(m_hWnd, IDC_LONGITUDE_CAPTION, g.longitudeCaption);
    Place(m_hWnd, IDC_GPS_LONGITUDE, g.longitudeEdit);
    Place(m_hWnd, IDC_LONGITUDE_UNIT, g.longitudeUnit);
    Place(m_hWnd, IDC_LATITUDE_CAPTION, g.latitudeCaption);
    Place(m_hWnd, IDC_GPS_LATITUDE, g.latitudeEdit);
    Place(m_hWnd, IDC_LATITUDE_UNIT, g.latitudeUnit);
    Place(m_hWnd, IDC_GPS_FIX, g.fixBox);
    Place(m_hWnd, IDC_GPS_FIX_CAPTION, g.fixCaption);
    Place(m_hWnd, IDC_SPEED_CAPTION, g.speedCaption);
    Place(m_hWnd, IDC_GPS_SPEED, g.speedEdit);
    Place(m_hWnd, IDC_SPEED_UNIT, g.speedUnit);
    Place(m_hWnd, IDC_GPS_GAUGE, g.gauge);
    if (g_Settings.bkColor == 1) {
        // The dark scheme draws 1-pixel lines along the top and left edges.
        Place(m_hWnd, IDC_GPS_TOP_LINE, {c.left, c.top, c.right - c.left, 1});
        Place(m_hWnd, IDC_GPS_LEFT_LINE, {c.left, c.top, 1, c.bottom - c.top});
        ::ShowWindow(GetDlgItem(IDC_GPS_TOP_LINE), SW_SHOW);
        ::ShowWindow(GetDlgItem(IDC_GPS_LEFT_LINE), SW_SHOW);
    }
}

void CSpeedometer::OnCtlColor(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    switch (::GetDlgCtrlID(reinterpret_cast<HWND>(m.lParam))) {
    case IDC_GPS_LONGITUDE:
    case IDC_GPS_LATITUDE:
    case IDC_GPS_SPEED:
    case IDC_SPEED_CAPTION:
    case IDC_POSITION_CAPTION:
    case IDC_LONGITUDE_CAPTION:
    case IDC_LATITUDE_CAPTION:
    case IDC_LONGITUDE_UNIT:
    case IDC_LATITUDE_UNIT:
    case IDC_SPEED_UNIT:
    case IDC_GPS_FIX_CAPTION:
    case IDC_TRACK_CAPTION:
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_TRACK_RED_NAME:
        ::SetTextColor(dc, RGB(255, 0, 0));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_TRACK_GREEN_NAME:
        ::SetTextColor(dc, RGB(0, 255, 0));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_TRACK_BLUE_NAME:
        ::SetTextColor(dc, RGB(0, 0, 255));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_TRACK_BLACK_NAME:
        // Black on the black panel would not show: black on a white chip.
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, RGB(255, 255, 255));
        m.result = reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
        return;
    default:
        break;
    }
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush));
}

void CSpeedometer::OnTrackColor(int k)
{
    if (::IsDlgButtonChecked(m_hWnd, kTrackRadios[k]) == BST_CHECKED)
        for (int i = 0; i < 4; ++i)
            if (i != k)
                ::CheckDlgButton(m_hWnd, kTrackRadios[i], BST_UNCHECKED);
    g_Settings.trackColor = k;
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->ApplyTrackColour();
}

void CSpeedometer::OnGpsFix()
{
    g_Settings.gpsFix = ::IsDlgButtonChecked(m_hWnd, IDC_GPS_FIX) == BST_CHECKED ? 1 : 0;
    g_Settings.SaveLanguage();
}

void CSpeedometer::OnMapProviderChanged()
{
    LRESULT index = mapProvider.SendMessage(CB_GETCURSEL);
    if (index == 1)
        index = 3;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(index));
    g_Settings.SaveMapSelect(text);
    SetRelaunchOnExit(true);
    if (g_hMainWnd)
        ::PostMessageW(g_hMainWnd, WM_CLOSE, 0, 0);
}

void CSpeedometer::OnAbout()
{
    CDlgAbout about;
    about.DoModal(this);
}

void CSpeedometer::OnToggleMap()
{
    if (!m_hWnd)
        return;
    HWND main = GetParent();
    RECT c = {};
    ::GetClientRect(main, &c);
    const int l = c.left, t = c.top, w = c.right - c.left, h = c.bottom - c.top;
    mapHidden = !mapHidden;
    // The page stops short of this panel, whose map button brings the map back.
    RECT own = GetWindowRect();
    ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&own), 2);
    const PanelRect page = PagePlaceForMap(l, t, w, h, !mapHidden, own.top);
    if (mapHidden) {
        if (playbackPage && playbackPage->m_hWnd)
            playbackPage->MoveWindow(page.x, page.y, page.w, page.h);
        if (mapPane && mapPane->m_hWnd)
            mapPane->ShowWindow(SW_HIDE);
    } else {
        if (mapPane && mapPane->m_hWnd)
            mapPane->ShowWindow(SW_SHOW);
        if (playbackPage && playbackPage->m_hWnd)
            playbackPage->MoveWindow(page.x, page.y, page.w, page.h);
    }
    LoadLanguageImages();
    // The main window's layout for all its switches: in full screen or with
    // the side panels hidden the page stays where it is.
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->ApplyScreenLayout();
    if (playbackPage && playbackPage->m_hWnd)
        playbackPage->Invalidate(false);
}

void CSpeedometer::UpdateTexts()
{
    if (!m_hWnd)
        return;
    mapProvider.SendMessage(CB_RESETCONTENT);
    for (int id : {IDS_MAP_GOOGLE, IDS_MAP_BAIDU})
        mapProvider.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CurrentText(id).c_str()));
    ::SetDlgItemTextW(m_hWnd, IDC_POSITION_CAPTION, CurrentText(IDS_LONGITUDE_AND_LATITUDE).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_LONGITUDE_CAPTION, CurrentText(IDS_LONGITUDE).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_LATITUDE_CAPTION, CurrentText(IDS_LATITUDE).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_LONGITUDE_UNIT, CurrentText(IDS_DEGREE).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_LATITUDE_UNIT, CurrentText(IDS_DEGREE).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_GPS_FIX_CAPTION, CurrentText(IDS_GPS_FIX).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_TRACK_CAPTION, CurrentText(IDS_TRACK_COLOUR).c_str());
    const int colourNames[4] = {IDS_TRACK_RED, IDS_TRACK_GREEN, IDS_TRACK_BLUE, IDS_TRACK_BLACK};
    for (int k = 0; k < 4; ++k)
        ::SetDlgItemTextW(m_hWnd, IDC_TRACK_RED_NAME + k, CurrentText(colourNames[k]).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_SPEED_CAPTION, CurrentText(IDS_SPEED_CAPTION).c_str());
    // km/h, or mph with the English texts (the speeds shown follow the same rule).
    ::SetDlgItemTextW(m_hWnd, IDC_SPEED_UNIT, CurrentText(IDS_SPEED_UNIT).c_str());
    ::CheckDlgButton(m_hWnd, IDC_GPS_FIX, g_Settings.gpsFix ? BST_CHECKED : BST_UNCHECKED);
    // Following an English system, the GPS correction is off and not offered;
    // any other choice offers it again.
    const int fixShown = g_Settings.lanSelect == 0 && g_Settings.languageCode == 3 ? SW_HIDE : SW_SHOW;
    ::ShowWindow(GetDlgItem(IDC_GPS_FIX), fixShown);
    ::ShowWindow(GetDlgItem(IDC_GPS_FIX_CAPTION), fixShown);
    mapProvider.SendMessage(CB_SETCURSEL, g_Settings.mapSelect == 3 ? 1 : 0);
    // The captions' widths follow their texts.
    const RECT rc = GetClientRect();
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
    // The captions draw without a background: what they drew before the
    // move goes too.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
