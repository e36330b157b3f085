#include "ArchiveTestSupport.h"
#include "platform/archive/ArchiveCollections.h"

#include <gtest/gtest.h>

#include <list>

namespace tvane::test {
namespace {

const Bytes kSampleObjectClass = Concat({{0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}, Text("CSample")});

TEST(ArchiveObjects, TwoObjectsOfOneClassBackReferenceAndNull) {
    CSample first(7);
    CSample second(8);
    const Bytes bytes = Store([&](CArchive& ar) {
        ar << &first << &second << &first;
        ar.WriteObject(nullptr);
    });
    // Class index 1, objects 2 and 3.
    const Bytes expected = Concat({kSampleObjectClass,
                                   {0x07, 0, 0, 0},
                                   {0x01, 0x80},
                                   {0x08, 0, 0, 0},
                                   {0x02, 0x00},
                                   {0x00, 0x00}});
    EXPECT_EQ(bytes, expected);

    Load(bytes, [](CArchive& ar) {
        CSample* a = nullptr;
        CSample* b = nullptr;
        CSample* again = nullptr;
        CSample dummy;
        CSample* none = &dummy; // overwritten with null
        ar >> a >> b >> again >> none;
        std::unique_ptr<CSample> ownA(a), ownB(b);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(a->m_value, 7);
        EXPECT_EQ(b->m_value, 8);
        EXPECT_EQ(again, a);
        EXPECT_EQ(none, nullptr);
    });
}

TEST(ArchiveObjects, NestedObjectsShareTheIndexAndSeeTheirSchema) {
    CHolder holder;
    holder.m_child = new CSample(5);
    const Bytes bytes = Store([&](CArchive& ar) {
        ar << &holder;
        ar << holder.m_child;
    });
    // Holder class 1, holder 2, sample class 3, sample 4.
    const Bytes expected = Concat({{0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00},
                                   Text("CHolder"),
                                   kSampleObjectClass,
                                   {0x05, 0, 0, 0},
                                   {0x04, 0x00}});
    EXPECT_EQ(bytes, expected);
    Load(bytes, [](CArchive& ar) {
        std::unique_ptr<CHolder> back(ar.ReadObject<CHolder>());
        ASSERT_NE(back, nullptr);
        ASSERT_NE(back->m_child, nullptr);
        EXPECT_EQ(back->m_child->m_value, 5);
        EXPECT_EQ(back->m_seenSchema, 0u);
        EXPECT_EQ(ar.ReadObject<CSample>(), back->m_child);
        EXPECT_EQ(ar.GetObjectSchema(), CArchive::kNoSchema);
    });
}

// An object is indexed before its fields, so a cycle comes back as a cycle.
TEST(ArchiveObjects, CycleOfReferences) {
    CNode a;
    CNode b;
    a.m_next = &b;
    b.m_next = &a;
    const Bytes bytes = Store([&](CArchive& ar) { ar << &a; });
    // Class 1, a 2, b 3, then b's reference back to a.
    EXPECT_EQ(bytes, Concat({{0xFF, 0xFF, 0, 0, 5, 0}, Text("CNode"), {0x01, 0x80}, {0x02, 0x00}}));
    Load(bytes, [](CArchive& ar) {
        std::unique_ptr<CNode> first(ar.ReadObject<CNode>());
        std::unique_ptr<CNode> second(first->m_next);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->m_next, first.get());
    });
}

TEST(ArchiveObjects, DerivedClassLoadsWhereTheBaseIsAsked) {
    CDerivedSample derived;
    derived.m_value = 3;
    derived.m_extra = 2.5;
    const Bytes bytes = Store([&](CArchive& ar) { ar << &derived; });
    Load(bytes, [](CArchive& ar) {
        std::unique_ptr<CSample> back = ar.ReadOwnedObject<CSample>();
        auto* typed = dynamic_cast<CDerivedSample*>(back.get());
        ASSERT_NE(typed, nullptr);
        EXPECT_EQ(typed->m_value, 3);
        EXPECT_EQ(typed->m_extra, 2.5);
    });
}

// From index 0x7FFF on, references take the 0x7FFF + 32-bit form.
TEST(ArchiveObjects, BigTagsPastIndex0x7FFE) {
    // Class CSample is index 1; objects 2 .. 0x7FFE; COther's class lands on 0x7FFF.
    std::vector<std::unique_ptr<CSample>> samples;
    for (int i = 2; i <= 0x7FFE; ++i) {
        samples.push_back(std::make_unique<CSample>(i));
    }
    COther other1;
    COther other2;
    other1.m_word = 0x1111;
    other2.m_word = 0x2222;
    const Bytes bytes = Store([&](CArchive& ar) {
        for (const auto& s : samples) {
            ar << s.get();
        }
        ar << &other1 << &other2;   // class 0x7FFF, objects 0x8000 and 0x8001
        ar << samples.back().get(); // index 0x7FFE: still the short form
        ar << &other1;              // index 0x8000: the long form
    });
    const Bytes tail = Concat({{0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00},
                               Text("COther"),
                               {0x11, 0x11},
                               {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80}, // class ref 0x80007FFF
                               {0x22, 0x22},
                               {0xFE, 0x7F},
                               {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00}});
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<std::ptrdiff_t>(tail.size()), bytes.end()), tail);

    Load(bytes, [&](CArchive& ar) {
        std::vector<std::unique_ptr<CObject>> owned;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            owned.push_back(ar.ReadOwnedObject<CSample>());
        }
        std::unique_ptr<COther> a(ar.ReadObject<COther>());
        std::unique_ptr<COther> b(ar.ReadObject<COther>());
        EXPECT_EQ(a->m_word, 0x1111);
        EXPECT_EQ(b->m_word, 0x2222);
        EXPECT_EQ(ar.ReadObject<CSample>(), owned.back().get());
        EXPECT_EQ(ar.ReadObject<COther>(), a.get());
    });
}

TEST(ArchiveObjects, ObjectArrayRoundTripWithEmptySlots) {
    std::vector<std::unique_ptr<CSample>> rows;
    rows.push_back(std::make_unique<CSample>(1));
    rows.push_back(nullptr);
    rows.push_back(std::make_unique<CDerivedSample>());
    const Bytes bytes = Store([&](CArchive& ar) { SerializeObArray(ar, rows); });
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 2), (Bytes{3, 0}));

    std::vector<std::unique_ptr<CSample>> back;
    back.push_back(std::make_unique<CSample>(99)); // replaced by the load
    Load(bytes, [&](CArchive& ar) { SerializeObArray(ar, back); });
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0]->m_value, 1);
    EXPECT_EQ(back[1], nullptr);
    EXPECT_NE(dynamic_cast<CDerivedSample*>(back[2].get()), nullptr);

    // A list of objects has the same form.
    std::list<std::unique_ptr<CSample>> list;
    Load(bytes, [&](CArchive& ar) { SerializeObArray(ar, list); });
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(Store([&](CArchive& ar) { SerializeObArray(ar, list); }), bytes);
}

TEST(ArchiveObjects, OwnedArrayRefusesAnObjectTwice) {
    CSample shared(4);
    const Bytes bytes = Store([&](CArchive& ar) {
        ar.WriteCount(2);
        ar << &shared << &shared;
    });
    std::vector<std::unique_ptr<CSample>> back;
    try {
        Load(bytes, [&](CArchive& ar) { SerializeObArray(ar, back); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::badIndex);
    }
    EXPECT_TRUE(back.empty());
}

TEST(ArchiveObjects, StoringRefusesClassesWithoutArchiveForm) {
    CPlain plain;
    try {
        Store([&](CArchive& ar) { ar.WriteObject(&plain); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::badClass);
    }
}

TEST(ArchiveObjects, DirectionIsEnforced) {
    MemoryStream stream;
    CArchive storing(stream, CArchive::store);
    std::int32_t value = 0;
    try {
        storing >> value;
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::writeOnly);
    }
    CArchive loading(stream, CArchive::load);
    try {
        loading << value;
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::readOnly);
    }
}

TEST(ArchiveObjects, RuntimeClassesKnowTheirLineage) {
    CDerivedSample derived;
    EXPECT_TRUE(derived.IsKindOf(RUNTIME_CLASS(CSample)));
    EXPECT_TRUE(derived.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(CSample().IsKindOf(RUNTIME_CLASS(CDerivedSample)));
    EXPECT_STREQ(derived.GetRuntimeClass()->m_lpszClassName, "CDerivedSample");
    EXPECT_EQ(CRuntimeClass::FromName("CDerivedSample"), RUNTIME_CLASS(CDerivedSample));
    EXPECT_EQ(CRuntimeClass::FromName("CPlain"), nullptr); // not creatable by name
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CSample)->CreateObject());
    EXPECT_NE(dynamic_cast<CSample*>(made.get()), nullptr);
}

} // namespace
} // namespace tvane::test
