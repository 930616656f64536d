// Helpers of the monitor tests: items built in memory, and a link straight on a simulated drive's
// state that logs every request.
#pragma once

#include "../DriveStateLink.h"
#include "../FilledContext.h"
#include "MonitorData.h"
#include "MonitorPoll.h"

// Appends a ticked item to a group.
inline monitor::MonitorItem& AddItem(monitor::ItemGroup& group, int address, int datasize,
                                     int clear = 0) {
    monitor::MonitorItem& item = group.items[group.count++];
    item.address = address;
    item.datasize = datasize;
    item.clear = clear;
    item.check = 1;
    return item;
}

// The poll step's link on a simulated T5's state (DriveStateLink logs every
// request: 'R' registers, 'r' coils, 'W' writes with their words).
struct StateItemLink : monitor::ItemLink, DriveStateLink {
    StateItemLink() : DriveStateLink(kModelT5) {}
    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        return DriveStateLink::ReadRegisters(start, count, dest);
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        return DriveStateLink::ReadCoils(start, count, dest);
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        return DriveStateLink::WriteRegisters(start, count, source);
    }
};

// Monitoring switched on as "Open com" and the window's first timer tick do.
inline void StartMonitoring(monitor::MonitorBoard& board) {
    monitor::OpenCom(board);
    monitor::ServeWindowTimer(board);
}
