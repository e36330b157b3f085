#pragma once
#include <cstdint>

// What the transport uses of the NI-488.2 GPIB library (linux-gpib's user library
// offers the same functions): the signatures it calls through, and the status and
// error values it reads from the library's status, error and count variables.

namespace tvane::comm {

// A device address of the 488.2 routines: primary address in the low byte,
// secondary in the high byte; a list ends with kGpibNoAddress.
using Addr4882 = unsigned short;
inline constexpr Addr4882 kGpibNoAddress = 0xFFFF;

// Bits of the status word.
inline constexpr int kGpibErr = 0x8000;
inline constexpr int kGpibTimo = 0x4000;
inline constexpr int kGpibEnd = 0x2000;
inline constexpr int kGpibCmpl = 0x0100;

// Values of the error variable that the transport and its tests name.
inline constexpr int kGpibEdvr = 0; // system error
inline constexpr int kGpibEnol = 2; // no listeners
inline constexpr int kGpibEarg = 4;
inline constexpr int kGpibEabo = 6; // I/O aborted, the time-out's error
inline constexpr int kGpibEneb = 7; // no such board
inline constexpr int kGpibEcap = 11;

using GpibIbonlFn = int (*)(int ud, int online);
using GpibIbtmoFn = int (*)(int ud, int code);
using GpibIbdevFn = int (*)(int board, int pad, int sad, int timeout, int eot, int eos);
using GpibIbwrtFn = int (*)(int ud, const void* buffer, long count);
using GpibIbrdFn = int (*)(int ud, void* buffer, long count);
using GpibBoardFn = void (*)(int board);
using GpibReadStatusByteFn = void (*)(int board, Addr4882 address, short* result);
using GpibFindLstnFn = void (*)(int board, const Addr4882* padList, Addr4882* results,
                                int maxResults);
using GpibDevClearFn = void (*)(int board, Addr4882 address);
using GpibAddressListFn = void (*)(int board, const Addr4882* addresses);

} // namespace tvane::comm
