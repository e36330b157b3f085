#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/tapi/LineTypes.h"
#include "platform/tapi/TapiConstants.h"

// The telephony line layer: what the dial-up code asks of the Windows telephony
// interface (TAPI 1.4), done with AT-command modems on serial ports. Each function
// keeps the name, arguments, results and asynchronous replies of its TAPI
// counterpart; variable-size result blocks become plain structures. What each call
// does on the modem:
//
//   lineInitialize          reads the modems of tapi.ini (none is not an error)
//   lineNegotiateAPIVersion accepts versions 1.3 and 1.4
//   lineGetDevCaps          the configured name; voice bearer, data-modem media,
//                           make-call feature, and what the modem waits for itself
//   lineOpen / lineClose    opens the modem's port for this process alone (another
//                           holder gives LINEERR_ALLOCATED) / hangs up and closes it
//   lineMakeCall            sends the Init command, then "ATD<number>" (";" ended
//                           parts stay in command mode); replies once the modem has
//                           taken the number, then reports DIALING and PROCEEDING
//   lineDial                "ATD<part>" on a call whose earlier part has been dialled
//   modem results           CONNECT → CONNECTED; BUSY → BUSY; NO DIALTONE → DISCONNECTED
//                           (no dial tone); NO CARRIER and NO ANSWER → DISCONNECTED
//                           (no answer); ERROR → DISCONNECTED (bad address); no result
//                           within WaitForCarrier → DISCONNECTED (unknown); RING →
//                           LINEDEVSTATE_RINGING
//   lineGetID               "comm/datamodem" of a connected call: a duplicate of the
//                           port's descriptor; from then on the port's data belong to
//                           the caller and the layer no longer reads it
//   lineDrop                DTR low, then the escape "+++" between one-second guard
//                           times and "ATH0"; replies, then reports IDLE
//   lineDeallocateCall      forgets an idle call
//   lineGetCountry, lineGetTranslateCaps, lineSetCurrentLocation, lineTranslateAddress
//                           the country table and the locations of tapi.ini
//   lineTranslateDialog     the installed dialing-properties dialog edits the current
//                           location
//   lineGetDevConfig, lineSetDevConfig, lineConfigDialogEdit
//                           the modem's settings (ModemSettings) as a block; the set
//                           ones are kept as the modem's defaults
//   linePumpMessages        stands for the window messages that carry TAPI's callbacks:
//                           reads the modems, moves the calls on and runs the waiting
//                           callbacks on the calling thread
//
// Everything runs on the thread that calls these functions; nothing here starts a
// thread. Time-outs follow the tick of the process clock.
namespace tvane::tapi {

using LINECALLBACK = void (*)(std::uint32_t device, std::uint32_t message,
                              std::uintptr_t callbackInstance, std::uintptr_t param1,
                              std::uintptr_t param2, std::uintptr_t param3);

std::int32_t lineInitialize(HLINEAPP* lineApp, void* instance, LINECALLBACK callback,
                            const char* appName, std::uint32_t* numDevs);
std::int32_t lineShutdown(HLINEAPP lineApp);
std::int32_t lineNegotiateAPIVersion(HLINEAPP lineApp, std::uint32_t device,
                                     std::uint32_t lowVersion, std::uint32_t highVersion,
                                     std::uint32_t* apiVersion);
std::int32_t lineGetDevCaps(HLINEAPP lineApp, std::uint32_t device, std::uint32_t apiVersion,
                            LineDevCaps* caps);
std::int32_t lineGetAddressCaps(HLINEAPP lineApp, std::uint32_t device, std::uint32_t addressId,
                                std::uint32_t apiVersion, LineAddressCaps* caps);
std::int32_t lineOpen(HLINEAPP lineApp, std::uint32_t device, HLINE* line, std::uint32_t apiVersion,
                      std::uintptr_t callbackInstance, std::uint32_t privileges,
                      std::uint32_t mediaModes);
std::int32_t lineClose(HLINE line);
std::int32_t lineSetStatusMessages(HLINE line, std::uint32_t lineStates,
                                   std::uint32_t addressStates);
std::int32_t lineGetAddressStatus(HLINE line, std::uint32_t addressId, LineAddressStatus* status);
std::int32_t lineGetID(HLINE line, std::uint32_t addressId, HCALL call, std::uint32_t select,
                       const char* deviceClass, LineDeviceId* id);
std::int32_t lineMakeCall(HLINE line, HCALL* call, const char* destAddress,
                          std::uint32_t countryCode, const LineCallParams* params);
std::int32_t lineDial(HCALL call, const char* destAddress, std::uint32_t countryCode);
std::int32_t lineDrop(HCALL call);
std::int32_t lineDeallocateCall(HCALL call);
std::int32_t lineGetCallStatus(HCALL call, LineCallStatus* status);
std::int32_t lineGetCountry(std::uint32_t countryId, std::uint32_t apiVersion,
                            std::vector<LineCountryEntry>* countries);
std::int32_t lineGetTranslateCaps(HLINEAPP lineApp, std::uint32_t apiVersion,
                                  LineTranslateCaps* caps);
std::int32_t lineSetCurrentLocation(HLINEAPP lineApp, std::uint32_t location);
std::int32_t lineTranslateAddress(HLINEAPP lineApp, std::uint32_t device, std::uint32_t apiVersion,
                                  const char* addressIn, std::uint32_t card,
                                  std::uint32_t translateOptions, LineTranslateOutput* output);
std::int32_t lineTranslateDialog(HLINEAPP lineApp, std::uint32_t device, std::uint32_t apiVersion,
                                 void* owner, const char* addressIn);
std::int32_t lineGetDevConfig(std::uint32_t device, const char* deviceClass, std::string* config);
std::int32_t lineSetDevConfig(std::uint32_t device, const std::string& config,
                              const char* deviceClass);
std::int32_t lineConfigDialogEdit(std::uint32_t device, void* owner, const char* deviceClass,
                                  const std::string& configIn, std::string* configOut);

// Runs the layer's pending work and callbacks. With waitMs, when nothing was pending,
// it first waits up to that long for a modem to say something (a plain pause when it
// listens to none), so the waits that pump it do not spin.
void linePumpMessages(std::uint32_t waitMs = 0);

// Starts the program that adds modems (LineConfiguration::ControlPanelCommand), not
// waiting for it; false when it cannot be started.
bool lineStartControlPanel();

} // namespace tvane::tapi
