#include "scan/CChannelInfo.h"

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CChannelInfo, tvane::CObject, 0)

bool CChannelInfo::operator==(const CChannelInfo& o) const {
    return Number == o.Number && Kind == o.Kind && Label == o.Label && Name == o.Name &&
           Scanned == o.Scanned && BitMask == o.BitMask && LowLimit == o.LowLimit &&
           HighLimit == o.HighLimit && RangeMin == o.RangeMin && RangeMax == o.RangeMax &&
           Units == o.Units && DisplayOption == o.DisplayOption && AlarmTest == o.AlarmTest;
}

void CChannelInfo::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << Number << Label << Name << static_cast<std::int16_t>(Scanned) << BitMask << LowLimit
           << HighLimit << RangeMin << RangeMax << Units << AlarmTest << Kind << DisplayOption;
    } else {
        std::int16_t scanned = 0;
        ar >> Number >> Label >> Name >> scanned >> BitMask >> LowLimit >> HighLimit >> RangeMin >>
            RangeMax >> Units >> AlarmTest >> Kind >> DisplayOption;
        Scanned = scanned;
    }
}
