#pragma once
#include <string>

class CFXSetup;
class CCompChnl;

// The channel details sheet as the document's setup operations run it: a modal
// sheet that edits its own copy of one row, so the document compares the copy
// with its row after OK and applies the differences itself. Tests install a
// fake; the program installs the sheet's window.
class IChannelDetailsSheet {
public:
    struct RowResult {
        // On entry: the row is the document's monitor channel (the sheet is
        // built with it, whichever pages are shown). On OK: whether "Monitor
        // this channel" was checked when the sheet closed.
        bool monitor = false;
    };

    virtual ~IChannelDetailsSheet() = default;

    // The sheet for an existing row, opened on startPage (an index into the
    // pages the row shows). On OK, true: copy holds the edited row, and for a
    // computed row (computed non-null on entry, holding its current definition)
    // computed holds the edited definition. Cancel: false, nothing is changed.
    virtual bool EditRow(const std::string& caption, const CFXSetup& row, int startPage,
                         CFXSetup& copy, CCompChnl* computed, RowResult& monitor) = 0;

    // The computed-channel page alone, for a new computed channel. On OK, true
    // with the definition (operands, operation, strain parameters) in computed.
    virtual bool NewComputedChannel(const std::string& caption, CCompChnl& computed) = 0;
};
