#include "scan/CCompChnl.h"

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CCompChnlArg, tvane::CObject, 0)
IMPLEMENT_SERIAL(CCompChnl, tvane::CObject, 0)

CCompChnlArg& CCompChnlArg::operator=(const CCompChnlArg& other) {
    Channel = other.Channel;
    ScanNumber = other.ScanNumber;
    Value = other.Value;
    return *this;
}

void CCompChnlArg::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring())
        ar << Channel << ScanNumber << Value;
    else
        ar >> Channel >> ScanNumber >> Value;
}

void CCompChnl::Copy(const CCompChnl& other) {
    Arg1 = other.Arg1;
    Arg2 = other.Arg2;
    Operation = other.Operation;
    GaugeFactor = other.GaugeFactor;
    RefExcitation = other.RefExcitation;
    RefOutput = other.RefOutput;
}

void CCompChnl::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << Group << Channel << Operation << Result << GaugeFactor << RefExcitation << RefOutput;
    } else {
        ar >> Group >> Channel >> Operation >> Result >> GaugeFactor >> RefExcitation >> RefOutput;
    }
    // The operands follow without class tags of their own.
    Arg1.Serialize(ar);
    Arg2.Serialize(ar);
}

bool CCompChnl::IsReady() const {
    if (Arg1.ScanNumber < 1 || Arg2.ScanNumber < 1)
        return false;
    return Arg1.ScanNumber == Arg2.ScanNumber || Arg1.IsConstant() || Arg2.IsConstant() ||
           Arg2.IsNone();
}
