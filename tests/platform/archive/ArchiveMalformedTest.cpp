#include "ArchiveTestSupport.h"
#include "platform/archive/ArchiveCollections.h"

#include <gtest/gtest.h>

#include <functional>

namespace tvane::test {
namespace {

// Reads the way a document reads: objects and strings until the data says stop.
struct Reader {
    const char* name;
    std::function<void(CArchive&)> read;
};

void ReadObjects(CArchive& ar) {
    std::vector<std::unique_ptr<CObject>> keep;
    for (int i = 0; i < 4; ++i) {
        CObject* object = ar.ReadObject(nullptr);
        // Back-references are not owned twice.
        if (object != nullptr && std::find_if(keep.begin(), keep.end(), [&](const auto& k) {
                                     return k.get() == object;
                                 }) == keep.end()) {
            keep.emplace_back(object);
        }
    }
}

struct Case {
    const char* what;
    Bytes bytes;
    CArchiveException::Cause cause;
    std::function<void(CArchive&)> read = ReadObjects;
};

const Bytes kSampleClass = Concat({{0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}, Text("CSample")});

TEST(ArchiveMalformed, LoadingThrowsTheCauseAndNeverReadsPastTheEnd) {
    const Case cases[] = {
        {"empty", {}, CArchiveException::endOfFile},
        {"half a tag", {0xFF}, CArchiveException::endOfFile},
        {"unknown class name", Concat({{0xFF, 0xFF, 0, 0, 7, 0}, Text("CNoSuch"), {1, 0, 0, 0}}),
         CArchiveException::badClass},
        {"class that is not creatable by name", Concat({{0xFF, 0xFF, 0, 0, 6, 0}, Text("CPlain")}),
         CArchiveException::badClass},
        {"empty class name", {0xFF, 0xFF, 0, 0, 0, 0}, CArchiveException::badClass},
        {"class name of 64 bytes", Concat({{0xFF, 0xFF, 0, 0, 64, 0}, Bytes(64, 'C')}),
         CArchiveException::badClass},
        {"class name cut short", Concat({{0xFF, 0xFF, 0, 0, 7, 0}, Text("CSam")}),
         CArchiveException::endOfFile},
        {"other schema", Concat({{0xFF, 0xFF, 0, 0, 10, 0}, Text("CSchemaOne")}),
         CArchiveException::badSchema},
        {"object fields cut short", Concat({kSampleClass, {7, 0}}), CArchiveException::endOfFile},
        {"class reference before any class", {0x01, 0x80}, CArchiveException::badIndex},
        {"class reference 0", {0x00, 0x80}, CArchiveException::badIndex},
        {"object reference before any object", {0x03, 0x00}, CArchiveException::badIndex},
        {"object reference to a class", Concat({kSampleClass, {7, 0, 0, 0}, {0x01, 0x00}}),
         CArchiveException::badIndex},
        {"class reference to an object", Concat({kSampleClass, {7, 0, 0, 0}, {0x02, 0x80}}),
         CArchiveException::badIndex},
        {"big class reference 0",
         {0xFF, 0x7F, 0x00, 0x00, 0x00, 0x80},
         CArchiveException::badIndex},
        {"big object reference out of range",
         {0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F},
         CArchiveException::badIndex},
        {"big tag cut short", {0xFF, 0x7F, 0x01}, CArchiveException::endOfFile},
        {"object of another class than asked", Concat({kSampleClass, {7, 0, 0, 0}}),
         CArchiveException::badClass,
         [](CArchive& ar) { std::unique_ptr<COther> o(ar.ReadObject<COther>()); }},
        {"back-reference of another class than asked",
         Concat({kSampleClass, {7, 0, 0, 0}, {0x02, 0x00}}), CArchiveException::badClass,
         [](CArchive& ar) {
             std::unique_ptr<CSample> s(ar.ReadObject<CSample>());
             ar.ReadObject<CDerivedSample>();
         }},
        {"string cut short", Concat({{0x05}, Text("abc")}), CArchiveException::endOfFile,
         [](CArchive& ar) {
             std::string s;
             ar >> s;
         }},
        {"string claiming 4 GiB",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
         CArchiveException::endOfFile,
         [](CArchive& ar) {
             std::string s;
             ar >> s;
         }},
        {"wide-character string",
         {0xFF, 0xFE, 0xFF, 0x01, 'a', 0x00},
         CArchiveException::generic,
         [](CArchive& ar) {
             std::string s;
             ar >> s;
         }},
        {"object array claiming 4 billion elements",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0},
         CArchiveException::endOfFile,
         [](CArchive& ar) {
             std::vector<std::unique_ptr<CObject>> items;
             SerializeObArray(ar, items);
         }},
        {"string array claiming 4 billion elements",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 'a'},
         CArchiveException::endOfFile,
         [](CArchive& ar) {
             std::vector<std::string> items;
             SerializeArray(ar, items);
         }},
        {"count cut short",
         {0xFF, 0xFF, 0x01},
         CArchiveException::endOfFile,
         [](CArchive& ar) { ar.ReadCount(); }},
        {"time cut short",
         {0x01, 0x02, 0x03},
         CArchiveException::endOfFile,
         [](CArchive& ar) {
             CTime t;
             ar >> t;
         }},
    };
    for (const Case& c : cases) {
        MemoryStream stream(c.bytes);
        CArchive ar(stream, CArchive::load);
        try {
            c.read(ar);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), c.cause) << c.what << ": " << e.what();
        }
        EXPECT_LE(stream.Position(), c.bytes.size()) << c.what;
    }
}

TEST(ArchiveMalformed, UnknownClassNameIsNamedInTheMessage) {
    const Bytes bytes = Concat({{0xFF, 0xFF, 0, 0, 7, 0}, Text("CNoSuch")});
    try {
        Load(bytes, [](CArchive& ar) { ar.ReadObject(nullptr); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_NE(std::string(e.what()).find("CNoSuch"), std::string::npos) << e.what();
    }
}

// A class that forgot its own run-time class passes as its base; the typed read
// catches it instead of handing out a pointer of the wrong type.
class CUndeclared : public CSample {};

TEST(ArchiveMalformed, TypedReadCatchesAClassWithoutItsOwnRuntimeClass) {
    CSample sample(1);
    const Bytes bytes = Store([&](CArchive& ar) { ar << &sample << &sample; });
    Load(bytes, [](CArchive& ar) {
        EXPECT_THROW(ar.ReadObject<CUndeclared>(), CArchiveException);
        // The discarded object is not reachable by a later back-reference.
        EXPECT_EQ(ar.ReadObject<CSample>(), nullptr);
    });
}

} // namespace
} // namespace tvane::test
