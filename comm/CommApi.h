// Serial-port operations on a HANDLE, under the names the drive tools use.
// Plug-ins that adopt the host's port handle call these directly; CUARTComm
// is built on them. Every operation returns non-zero on success and 0 on
// failure, never blocks without bound, and fails (instead of hanging) once the
// device has gone away (adapter unplugged, far end of a pty closed). A handle
// that OpenCommDevice did not return, or that has been closed, is refused
// without touching whatever file its descriptor number names now.
#pragma once

#include "CommTypes.h"

// Opens a device path for reading and writing with exclusive access (a port
// that another program holds does not open), raw 8-bit line discipline and
// non-blocking I/O; asks the driver for low-latency delivery where it offers
// it. Returns INVALID_HANDLE_VALUE on failure.
HANDLE OpenCommDevice(const char* devicePath);
// Why the calling thread's last OpenCommDevice failed: an errno value (EACCES
// when the user may not use the device, EWOULDBLOCK when another program holds
// it, ENOENT when it does not exist); 0 after a success.
int LastOpenError();
// True when that failure was a refusal for lack of permission (EACCES, EPERM):
// the user is not in the group that owns the device (dialout).
bool LastOpenRefusedPermission();

// Releases the exclusive claim and closes the handle.
BOOL CloseHandle(HANDLE port);

// Line settings <-> device. SetCommState applies baud rate, byte size, parity,
// stop bits and flow control; it fails for a baud rate the device rejects.
BOOL GetCommState(HANDLE port, DCB* dcb);
BOOL SetCommState(HANDLE port, const DCB* dcb);

// The configuration of an open port; *size must be at least
// sizeof(COMMCONFIG) and receives that size.
BOOL GetCommConfig(HANDLE port, COMMCONFIG* config, DWORD* size);

// Time-outs are kept per handle. A read waits for its full count at most
// ReadTotalTimeoutMultiplier * count + ReadTotalTimeoutConstant ms (capped at
// one second; all zero = return what is waiting). A write waits at most
// WriteTotalTimeoutMultiplier * count + WriteTotalTimeoutConstant ms (all zero
// = one second plus one millisecond per byte).
BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);
BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);

// Discards the receive queue (PURGE_RXCLEAR) and/or the transmit queue
// (PURGE_TXCLEAR). The abort flags are accepted and have nothing to abort.
BOOL PurgeComm(HANDLE port, DWORD flags);

// Fills the status (cbInQue = bytes waiting to be read); *errors, when given,
// is set to 0. Fails when the device has gone away.
BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status);

// Sleeps until a byte waits to be read or `microseconds` have passed; 1 when
// input waits. An in-memory device is not watched: the whole time passes.
BOOL WaitCommInput(HANDLE port, DWORD microseconds);

// Synchronous transfers. ReadFile reports the bytes read in *done (which may
// be fewer than asked when the read time-out ran out; it then still
// succeeds). WriteFile succeeds only when every byte was written.
BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* done, void* overlapped);
BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* done, void* overlapped);
