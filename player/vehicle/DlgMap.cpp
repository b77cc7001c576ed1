#include "vehicle/DlgMap.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "app/MainWindow.h"

namespace {
const UINT_PTR kSettledTimer = 1;  // 5 s after the map counted as loaded
const UINT_PTR kStartTimer = 2;    // polls until the map is loaded
// The map starts once per process, whatever the number of panes.
int g_mapStarts = 0;
}  // namespace

BEGIN_MESSAGE_TABLE(CDlgMap, CDialog)
    OnMessage<&CDlgMap::OnTimer>(WM_TIMER),
    OnMessage<&CDlgMap::OnSize>(WM_SIZE),
END_MESSAGE_TABLE()

int CDlgMap::MapStarts()
{
    return g_mapStarts;
}

CDlgMap::~CDlgMap()
{
    // The map window is the canvas's child: it goes with the pane's window,
    // before the vehicle record it names.
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

void CDlgMap::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_MAP_CANVAS, canvas);
}

BOOL CDlgMap::OnInitDialog()
{
    ModifyStyleEx(WS_EX_CONTROLPARENT, 0);
    CDialog::OnInitDialog();
    SetTimer(kStartTimer, 300);
    return FALSE;
}

void CDlgMap::OnTimer(Message& m)
{
    if (m.wParam == kStartTimer) {
        if (g_mapStarts == 0) {
            ++g_mapStarts;
            _MAP_InitMap(g_Settings.mapSelect, canvas.m_hWnd, 0, "", "", 0, "default", &mapHandle);
        }
        if (_MAP_IsLoadComplete(mapHandle) == 0) {
            KillTimer(kStartTimer);
            OnMapLoaded();
        }
    } else if (m.wParam == kSettledTimer) {
        KillTimer(kSettledTimer);
        if (_MAP_IsLoadComplete(mapHandle) != 0 && g_Settings.mainDlg)
            g_Settings.mainDlg->ToggleMap();
    }
    m.handled = false;  // then the default handling
}

void CDlgMap::OnMapLoaded()
{
    ready = 1;
    INT_PTR id = 0;
    AddVehicle(&id);
    SetTimer(kSettledTimer, 5000);
}

int CDlgMap::AddVehicle(INT_PTR* id)
{
    if (vehicle && vehicle->id) {
        if (id)
            *id = vehicle->id;
        return 1;
    }
    if (!vehicle)
        vehicle = std::make_unique<VehicleRecord>();
    vehicle->id = reinterpret_cast<INT_PTR>(vehicle.get());
    if (_MAP_InsertVehicle(mapHandle, vehicle->id) != 0) {
        vehicle->id = 0;
        return 0;
    }
    _MAP_SetVehicleName(mapHandle, vehicle->id, "aa");
    _MAP_SetVehiIcon(mapHandle, vehicle->id, 1);
    if (id)
        *id = vehicle->id;
    return 1;
}

void CDlgMap::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (canvas.m_hWnd) {
        RECT rc = GetClientRect();
        canvas.MoveWindow(0, 0, rc.right, rc.bottom);
    }
}
