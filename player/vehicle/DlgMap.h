// CDlgMap: the map pane at the top right of the main dialog. It hosts the
// map library's window in its canvas, starts the map once per process,
// says when the map is ready, and owns the one vehicle the playback control
// moves along the track.
#pragma once

#include "Dialog.h"
#include "geodraw.h"
#include "resource.h"

#include <memory>

class CDlgMap : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgMap() : CDialog(IDD_MAP) {}
    ~CDlgMap() override;

    // The vehicle as the map library knows it: a record whose id is its own
    // address once inserted.
    struct VehicleRecord {
        int kind = 1;
        INT_PTR id = 0;
        int reserved = 0;
    };

    CWnd canvas;
    int ready = 0;                 // 1 once the map reported loaded
    GEODRAW_HANDLE mapHandle = 0;  // 0 until the map started
    std::unique_ptr<VehicleRecord> vehicle;

    // The vehicle on the map, inserted once: 1 with *id set (also when it
    // was inserted before), 0 when the map refused it.
    int AddVehicle(INT_PTR* id);
    // The inserted vehicle's id, 0 while there is none.
    INT_PTR VehicleId() const { return vehicle ? vehicle->id : 0; }
    // The map reported loaded: ready, the vehicle, and the check 5 s later.
    void OnMapLoaded();

    // How often this process started a map (at most once).
    static int MapStarts();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // No dialog keyboard handling here: every key reaches the map window.
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }

private:
    void OnTimer(Message& m);
    void OnSize(Message& m);
};
