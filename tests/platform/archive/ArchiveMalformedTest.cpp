#include "ArchiveTestSupport.h"
#include "platform/archive/ArchiveCollections.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <utility>

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
        try {
            ar.ReadObject<CSample>();
            FAIL() << "no exception";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), CArchiveException::badIndex);
        }
    });
}

// Room for one object, so that a second object is made at the very address of
// the first, whatever the allocator does.
template <class T> class SameAddress {
public:
    template <class... Args> T& Make(Args&&... args) {
        return *new (m_storage) T(std::forward<Args>(args)...);
    }
    void Destroy() { reinterpret_cast<T*>(m_storage)->~T(); }

private:
    alignas(T) unsigned char m_storage[sizeof(T)];
};

// A temporary that is written and goes has no identity afterwards: the next
// object at its address is written whole, not as a reference to it.
TEST(ArchiveIdentity, AnObjectMadeWhereAnotherWasIsWrittenWhole) {
    SameAddress<CSample> room;
    const Bytes bytes = Store([&](CArchive& ar) {
        for (std::int32_t value : {7, 8}) {
            CSample& temporary = room.Make(value);
            ar << &temporary;
            room.Destroy();
        }
    });
    EXPECT_EQ(bytes, Concat({kSampleClass, {7, 0, 0, 0}, {0x01, 0x80}, {8, 0, 0, 0}}));
}

// Each object that goes while the load runs takes its entry with it; a later
// reference to it is refused before anything of the object is looked at. The
// objects that remain are not tied to the archive once it ends.
TEST(ArchiveIdentity, AReferenceToAnObjectThatIsGoneIsRefused) {
    CSample kept(1);
    CSample released(2);
    CHolder holder;
    holder.m_child = new CSample(3);
    const Bytes bytes = Store([&](CArchive& ar) {
        ar << &kept << &released << &holder;
        ar << &kept << &released; // objects 2 and 3
        ar << static_cast<CSample*>(nullptr);
        ar << holder.m_child; // held by the holder
    });
    std::unique_ptr<CSample> survivor;
    std::unique_ptr<CHolder> owner;
    Load(bytes, [&](CArchive& ar) {
        survivor = ar.ReadOwnedObject<CSample>();
        ar.ReadOwnedObject<CSample>().reset(); // released by its owner
        owner = ar.ReadOwnedObject<CHolder>();
        EXPECT_EQ(ar.ReadObject<CSample>(), survivor.get());
        try {
            ar.ReadObject<COther>(); // both gone and of another class: gone counts first
            FAIL() << "no exception";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), CArchiveException::badIndex) << e.what();
        }
    });
    // The holder's child is deleted with the holder, after the archive.
    owner.reset();
    survivor.reset();

    // The holder releases its child while the load still runs.
    Load(bytes, [&](CArchive& ar) {
        auto first = ar.ReadOwnedObject<CSample>();
        auto second = ar.ReadOwnedObject<CSample>();
        auto holderBack = ar.ReadOwnedObject<CHolder>();
        delete holderBack->m_child;
        holderBack->m_child = nullptr;
        EXPECT_EQ(ar.ReadObject<CSample>(), first.get());
        EXPECT_EQ(ar.ReadObject<CSample>(), second.get());
        EXPECT_EQ(ar.ReadObject<CSample>(), nullptr);
        EXPECT_THROW(ar.ReadObject<CSample>(), CArchiveException);
    });
}

} // namespace
} // namespace tvane::test
