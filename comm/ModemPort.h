#pragma once
#include <string>

namespace tvane::comm {

// The data phase of a connected modem call: a reader thread that gathers the
// instrument's answers from the port and leaves each whole line in the answer block
// (ModemAnswerBlock), and a writer thread that sends the commands posted to it. One
// link exists in the process at a time.
//
// An answer is whole at its line feed once nothing else follows within a moment; a
// line cut short by the modem's "NO CARRIER", that result itself, or the port
// hanging up marks the block dropped instead, so a broken answer never passes as a
// whole one.
class ModemPort {
public:
    // Starts the link on a descriptor of the modem's port (a character device), which
    // the link then owns. False when it is no terminal or a link runs already.
    static bool StartComm(int descriptor);
    // Stops both threads and closes the port; nothing when no link runs.
    static void StopComm();
    // Hands bytes to the writer. False at once when no link runs; when the writer has
    // ended, after three tries a second apart.
    static bool PostWrite(std::string bytes);
    static bool IsRunning();
};

} // namespace tvane::comm
