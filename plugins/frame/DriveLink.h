// Each plug-in's own link to the drive: its Modbus master on the shared port
// handle, the line settings and time-outs for reopening the port, and the
// guarded call through which every request goes. A failed request purges and
// closes the port, reopens it silently and is sent once more.
#pragma once

#include "CommApi.h"
#include "Modbus.h"
#include "SharedContext.h"

class DriveLink {
public:
    CModbus modbus;                           // its hPort is the handle in use
    DCB dcb{};                                // serial format used when the link reopens the port
    COMMTIMEOUTS timeouts{0, 0, 100, 0, 100}; // set on the handle after a reopen
    int linkGood = 1;                         // 1 when the last guarded call succeeded
    int port = 0;                             // COM number used when the link reopens the port
    int quickSettings = 1;                    // the first guarded call shortens waits and retries
    int searching = 0;                        // set only during Portdesk's search

    // Requests count as drive traffic on this context (the comm thread rests
    // only after passes without traffic).
    void AttachContext(SharedContext* ctx) { ctx_ = ctx; }

    // Slave address (low byte), retries, retry interval and write delay from
    // the context's link settings.
    void ConfigureFromContext(const SharedContext& ctx);
    // Both of the above, and the reply timing of a tool's own requests: a
    // wait of `waitWriteMs` after sending, then up to `polls` polls for the
    // reply, two late polls 40 ms apart after those.
    void AttachWithTiming(SharedContext* ctx, unsigned long waitWriteMs, unsigned long polls);

    // True when Portdesk has published a port (handle, number or line
    // settings) other than the one this link adopted last.
    bool PublishedPortChanged(const SharedContext& ctx) const;
    // Takes the port Portdesk published, with its number and line settings
    // for later reopening, when it changed; a port the link had reopened on
    // its own is closed first, so that no tool keeps the old port or its
    // number. Nothing is taken while none is published. True when a new port
    // was adopted.
    bool AdoptPublishedPort(const SharedContext& ctx);
    // A tool's link upkeep before its requests: a newly published port is
    // taken after a pause of 100 ms, and so is a new slave address of the
    // context. True when either changed.
    bool FollowPublishedPort(const SharedContext& ctx);

    // Publishes this link's handle, port number and line settings (Portdesk
    // after a successful search); the line settings are visible to every
    // plug-in that sees the new handle.
    void PublishPort(SharedContext& ctx) const;

    // The guarded requests.
    int ReadHoldingRegisters(unsigned short start, unsigned short count, unsigned short* dest);
    int WriteMultipleRegisters(unsigned short start, unsigned short count, unsigned short* source);
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest);
    int WriteMultipleCoils(unsigned short start, unsigned short count, unsigned char* source);
    int ReportSlaveID(char* data, unsigned char* capacity, unsigned char* slaveId,
                      unsigned char* runIndicator);

    // The guarded call around any request. `purgeFirst`: purge before the
    // first send, and only close after its failure (Report Slave ID).
    template <class Request>
    int Guarded(Request send, bool purgeFirst = false);

private:
    void ApplyQuickSettings();
    void Reopen();

    SharedContext* ctx_ = nullptr;
    HANDLE adopted_ = 0; // the published handle taken last
};

template <class Request>
int DriveLink::Guarded(Request send, bool purgeFirst) {
    ApplyQuickSettings();
    if (ctx_ != nullptr)
        ctx_->NoteDriveTraffic();
    if (linkGood != 0) {
        if (purgeFirst)
            PurgeComm(modbus.hPort, PURGE_RXCLEAR | PURGE_TXCLEAR);
        if (const int result = send())
            return result;
        if (!purgeFirst) {
            PurgeComm(modbus.hPort, PURGE_RXCLEAR);
            PurgeComm(modbus.hPort, PURGE_TXCLEAR);
        }
        modbus.CloseComPort();
    }
    Reopen();
    const int result = send();
    linkGood = result != 0 ? 1 : 0;
    return result;
}
