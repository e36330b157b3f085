#pragma once
#include <memory>

#include "app/CLoggerDoc.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"

namespace tvane::test {

// Puts computed channel 901 = 101 + 102 into the document: the definition in
// the first computed slot and its scanned row at setup index 3.
inline void AddComputedSum(CLoggerDoc& doc) {
    auto computed = std::make_unique<CCompChnl>();
    computed->Channel = 901;
    computed->Arg1.Channel = 101;
    computed->Arg2.Channel = 102;
    computed->Operation = CCompChnl::kSum;
    doc.GetComputedChannels()->SetAt(0, std::move(computed));
    auto* row = new CFXSetup;
    row->Name = "Computed";
    row->Channel = 901;
    row->ChannelMode = 1;
    row->Alarms = "Off";
    doc.GetSetup()->SetSetup(3, row);
}

} // namespace tvane::test
