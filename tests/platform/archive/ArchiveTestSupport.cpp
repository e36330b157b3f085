#include "ArchiveTestSupport.h"

namespace tvane::test {

IMPLEMENT_SERIAL(CSample, CObject, 0)
IMPLEMENT_SERIAL(CDerivedSample, CSample, 0)
IMPLEMENT_SERIAL(COther, CObject, 0)
IMPLEMENT_SERIAL(CHolder, CObject, 0)
IMPLEMENT_SERIAL(CNode, CObject, 0)
IMPLEMENT_DYNAMIC(CPlain, CObject)
IMPLEMENT_SERIAL(CSchemaOne, CObject, 1)

void CSample::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_value;
    } else {
        ar >> m_value;
    }
}

void CDerivedSample::Serialize(CArchive& ar) {
    CSample::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_extra;
    } else {
        ar >> m_extra;
    }
}

void COther::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_word;
    } else {
        ar >> m_word;
    }
}

CHolder::~CHolder() {
    delete m_child;
}

void CHolder::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_child;
    } else {
        m_seenSchema = ar.GetObjectSchema();
        ar >> m_child;
    }
}

void CNode::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_next;
    } else {
        ar >> m_next;
    }
}

} // namespace tvane::test
