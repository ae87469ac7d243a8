// Enumeration of domains, computers and shares over the simulated network, and the lifetime of
// the buffers that the items' names point into.
#include "model/fs_items.h"
#include "model/net_items.h"
#include "simnet/simnet_control.h"
#include "tests/model/model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vqtest;

namespace {

const char kNetwork[] = R"(
[network]
[domain WORKGROUP]
[domain CORP]
[domain /]
[computer LOOSE]

[computer WORKGROUP/ALPHA]
[computer WORKGROUP/]
[domain WORKGROUP/SUBDOM]
[computer SUBDOM/DEEP]

[share ALPHA/Documents]
[share ALPHA/ADMIN$]
type = disk+special
[share ALPHA/C$]
type = disk+special
[share ALPHA/IPC$]
type = ipc+special
[share ALPHA/print$]
[share ALPHA/a$b]
[share ALPHA/LaserJet]
type = print
[share ALPHA/]
[share LOOSE/Data]

[computer CORP/MANY]
status = 234
records = 12
[computer CORP/NOBUF]
status = nobuffer
[computer CORP/GONE]
status = 53
[computer CORP/EMPTYPC]

[share MANY/s01]
[share MANY/s02]
[share MANY/s03]
[share MANY/s04]
[share MANY/s05]
[share MANY/s06]
[share MANY/s07]
[share MANY/s08]
[share MANY/s09]
[share MANY/s10]
[share MANY/s11]
[share MANY/s12]
[share MANY/s13]
[share MANY/s14]
[share MANY/s15]
)";

// A fresh root per test, so that g_root stays as the program leaves it.
class NetEnumTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(simnet::Available()) << "netapi32.dll beside the test is not the simulator";
        ASSERT_EQ(simnet::LoadText(kNetwork), 0);
        m_nBuffers = simnet::Stats().liveBuffers;
        m_nItems = CItem::s_nLive;
        m_pRoot = new CItemRoot;
    }
    void TearDown() override {
        for (CItem* p : m_items)
            p->Release();
        m_pRoot->Close();
        EXPECT_EQ(CItem::s_nLive, m_nItems);
        EXPECT_EQ(CNetBuffer::s_nLive, 0);
        SIMNET_STATS stats = simnet::Stats();
        EXPECT_EQ(stats.liveBuffers, m_nBuffers);
        EXPECT_EQ(stats.badFrees, 0);
        g_pHiddenShares = m_pSavedHidden;
    }

    // Lists the item; the children are released at the end of the test.
    bool List(CItem* pItem, std::vector<CItem*>* pOut = nullptr) {
        CItemArray children;
        CLanFiles files;
        bool bOk = pItem->Enumerate(&children, &files);
        EXPECT_TRUE(files.IsEmpty());
        for (CItem* p : children) {
            m_items.push_back(p);
            if (pOut)
                pOut->push_back(p);
        }
        return bOk;
    }

    std::vector<std::string> Texts(const std::vector<CItem*>& items) {
        std::vector<std::string> out;
        for (CItem* p : items)
            out.push_back(std::string(TextOf(p)));
        return out;
    }

    CItem* Find(const std::vector<CItem*>& items, const char* text) {
        for (CItem* p : items)
            if (TextOf(p) == text)
                return p;
        ADD_FAILURE() << "no item " << text;
        return nullptr;
    }

    void SetHiddenShares(bool bOn) {
        m_bHidden = bOn ? 1 : 0;
        g_pHiddenShares = &m_bHidden;
    }

    CItemRoot* m_pRoot = nullptr;
    std::vector<CItem*> m_items;
    LONG m_nBuffers = 0;
    long m_nItems = 0;
    BYTE m_bHidden = 0;
    const volatile BYTE* m_pSavedHidden = g_pHiddenShares;
};

TEST_F(NetEnumTest, RootListsNamedRecordsOnly) {
    std::vector<CItem*> top;
    ASSERT_TRUE(List(m_pRoot, &top));
    // The record with an empty name is skipped.
    EXPECT_EQ(Texts(top), (std::vector<std::string>{"Workgroup", "Corp", "Loose"}));
    ASSERT_NE(m_pRoot->m_pBuffer, nullptr);

    auto* pGroup = static_cast<CItemServer*>(top[0]);
    auto* pLoose = static_cast<CItemServer*>(top[2]);
    EXPECT_TRUE(pGroup->IsDomain());
    EXPECT_FALSE(pLoose->IsDomain());
    EXPECT_EQ(pGroup->m_pParent, m_pRoot);
    EXPECT_TRUE(m_pRoot->IsEmpty()) << "children attach only when delivered";

    // A computer directly below the root lists its shares.
    std::vector<CItem*> shares;
    ASSERT_TRUE(List(pLoose, &shares));
    EXPECT_EQ(Texts(shares), (std::vector<std::string>{"Data"}));
    EXPECT_EQ(std::string(PathOf(shares[0], true)), "\\\\LOOSE\\Data");
    EXPECT_EQ(std::string(PathOf(shares[0], false)), "LOOSE\\Data");
}

TEST_F(NetEnumTest, DomainListsEveryComputerAndSubdomain) {
    std::vector<CItem*> top, computers, deep;
    ASSERT_TRUE(List(m_pRoot, &top));
    ASSERT_TRUE(List(Find(top, "Workgroup"), &computers));
    // The empty name is kept below a domain; a record with the domain bit is a domain.
    EXPECT_EQ(Texts(computers), (std::vector<std::string>{"Alpha", "", "Subdom"}));
    EXPECT_FALSE(static_cast<CItemServer*>(computers[0])->IsDomain());
    EXPECT_FALSE(static_cast<CItemServer*>(computers[1])->IsDomain());
    auto* pSub = static_cast<CItemServer*>(computers[2]);
    ASSERT_TRUE(pSub->IsDomain());
    ASSERT_TRUE(List(pSub, &deep));
    EXPECT_EQ(Texts(deep), (std::vector<std::string>{"Deep"}));
    EXPECT_EQ(std::string(PathOf(deep[0], true)), "\\\\DEEP");
    EXPECT_EQ(std::string(PathOf(deep[0], false)), "SUBDOM\\DEEP");
    EXPECT_EQ(std::string(PathOf(computers[0], false)), "WORKGROUP\\ALPHA");
}

TEST_F(NetEnumTest, SharesWithAndWithoutHiddenShares) {
    std::vector<CItem*> top, computers;
    ASSERT_TRUE(List(m_pRoot, &top));
    ASSERT_TRUE(List(Find(top, "Workgroup"), &computers));
    CItem* pAlpha = Find(computers, "Alpha");

    const struct {
        bool bHidden;
        std::vector<std::string> shares;
    } cases[] = {
        {false, {"Documents", "a$b", "LaserJet"}},
        {true, {"Documents", "ADMIN$", "C$", "IPC$", "print$", "a$b", "LaserJet", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bHidden ? "hidden shares on" : "hidden shares off");
        SetHiddenShares(c.bHidden);
        std::vector<CItem*> shares;
        ASSERT_TRUE(List(pAlpha, &shares));
        EXPECT_EQ(Texts(shares), c.shares);
        for (CItem* p : shares)
            EXPECT_EQ(p->GetKind(), KIND_SHARE);
    }
}

TEST_F(NetEnumTest, StatusesOfComputers) {
    std::vector<CItem*> top, computers;
    ASSERT_TRUE(List(m_pRoot, &top));
    ASSERT_TRUE(List(Find(top, "Corp"), &computers));

    std::vector<std::string> many;
    for (int i = 1; i <= 12; i++)
        many.push_back((i < 10 ? "s0" : "s") + std::to_string(i));
    const struct {
        const char* computer;
        bool bOk;
        std::vector<std::string> shares;
    } cases[] = {
        {"Many", true, many},  // status 234: the 12 records returned are used
        {"Nobuf", false, {}},  // status 0 without a buffer
        {"Gone", false, {}},   // a failure code
        {"Emptypc", true, {}}, // no shares at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.computer);
        auto* pComputer = static_cast<CNetApiItem*>(Find(computers, c.computer));
        std::vector<CItem*> shares;
        EXPECT_EQ(List(pComputer, &shares), c.bOk);
        EXPECT_EQ(Texts(shares), c.shares);
        EXPECT_EQ(pComputer->m_pBuffer != nullptr, c.bOk);
    }
}

TEST_F(NetEnumTest, FailureLeavesTheBufferAsItWas) {
    std::vector<CItem*> top, computers, shares;
    ASSERT_TRUE(List(m_pRoot, &top));
    ASSERT_TRUE(List(Find(top, "Workgroup"), &computers));
    auto* pAlpha = static_cast<CNetApiItem*>(Find(computers, "Alpha"));
    ASSERT_TRUE(List(pAlpha, &shares));
    CNetBuffer* pBuffer = pAlpha->m_pBuffer;
    ASSERT_NE(pBuffer, nullptr);

    // The same computer now fails, with and without a buffer.
    for (const char* status : {"53", "nobuffer"}) {
        SCOPED_TRACE(status);
        ASSERT_EQ(simnet::LoadText(std::string("[domain WORKGROUP]\n[computer WORKGROUP/ALPHA]\n"
                                               "status = ") +
                                   status + "\n[share ALPHA/Documents]\n"),
                  0);
        std::vector<CItem*> none;
        EXPECT_FALSE(List(pAlpha, &none));
        EXPECT_TRUE(none.empty());
        EXPECT_EQ(pAlpha->m_pBuffer, pBuffer);
    }
    EXPECT_EQ(std::string(TextOf(shares[0])), "Documents");
}

TEST_F(NetEnumTest, RootStatuses) {
    const struct {
        const char* description;
        bool bOk;
    } cases[] = {
        {"[network]\n", true},                     // a buffer with no record
        {"[network]\nstatus = nobuffer\n", false}, // status 0 without a buffer
        {"[network]\nstatus = 2114\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        ASSERT_EQ(simnet::LoadText(c.description), 0);
        std::vector<CItem*> top;
        EXPECT_EQ(List(m_pRoot, &top), c.bOk);
        EXPECT_TRUE(top.empty());
    }
}

TEST_F(NetEnumTest, BufferLivesExactlyAsLongAsItsItems) {
    SetHiddenShares(false);
    std::vector<CItem*> top, computers;
    ASSERT_TRUE(List(m_pRoot, &top));
    ASSERT_TRUE(List(Find(top, "Workgroup"), &computers));
    auto* pAlpha = static_cast<CNetApiItem*>(Find(computers, "Alpha"));
    LONG nBefore = simnet::Stats().liveBuffers;

    CItemArray first, second;
    CLanFiles files;
    ASSERT_TRUE(pAlpha->Enumerate(&first, &files));
    ASSERT_TRUE(pAlpha->Enumerate(&second, &files)); // a refresh: a second buffer
    EXPECT_EQ(simnet::Stats().liveBuffers, nBefore + 2);

    // The first buffer is no longer the computer's, but its shares still read their names.
    for (CItem* p : second)
        p->Release();
    EXPECT_EQ(simnet::Stats().liveBuffers, nBefore + 2) << "the computer still holds the second";
    pAlpha->AddRef(); // what a listing job of the computer would hold
    pAlpha->Close();
    EXPECT_EQ(pAlpha->m_pBuffer, nullptr);
    EXPECT_EQ(simnet::Stats().liveBuffers, nBefore + 1);
    EXPECT_EQ(std::string(PathOf(first[0], true)), "\\\\ALPHA\\Documents");
    EXPECT_EQ(std::string(TextOf(first[2])), "LaserJet");

    for (CItem* p : first)
        p->Release();
    EXPECT_EQ(simnet::Stats().liveBuffers, nBefore);
    pAlpha->Release();
    // The computer was the test's own child of Workgroup: it is gone, its reference with it.
    m_items.erase(std::find(m_items.begin(), m_items.end(), pAlpha));
}

} // namespace
