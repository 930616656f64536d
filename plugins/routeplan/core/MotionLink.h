// The drive requests of the internal-position plug-in: the parameter editor's
// register link plus coils. The plug-in sends them through its DriveLink's
// guarded call; tests put a simulated drive behind it.
#pragma once

#include "RegisterLink.h"

namespace routeplan {

class MotionLink : public knobset::RegisterLink {
public:
    virtual int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) = 0;
    virtual int WriteCoils(unsigned short start, unsigned short count, unsigned char* source) = 0;
};

template <class Target>
class MotionLinkOn : public MotionLink {
public:
    explicit MotionLinkOn(Target& target) : registers_(target), target_(target) {}
    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        return registers_.ReadRegisters(start, count, dest);
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        return registers_.WriteRegisters(start, count, source);
    }
    int ReportSlaveID(char* data, unsigned char* capacity) override {
        return registers_.ReportSlaveID(data, capacity);
    }
    CModbus& Master() override { return registers_.Master(); }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        return target_.ReadCoils(start, count, dest);
    }
    int WriteCoils(unsigned short start, unsigned short count, unsigned char* source) override {
        return target_.WriteMultipleCoils(start, count, source);
    }

private:
    knobset::RegisterLinkOn<Target> registers_;
    Target& target_;
};

} // namespace routeplan
