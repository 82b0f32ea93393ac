// Bound callbacks and event sources: identity, ordering, ownership of the
// clones, and changes made to a source while it is firing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "varnelui/core/UIDelegate.h"

using namespace VarnelUI;

namespace {

std::string g_trace;

bool FreeA(void*)
{
    g_trace += 'a';
    return true;
}
bool FreeB(void*)
{
    g_trace += 'b';
    return true;
}
bool FreeStop(void*)
{
    g_trace += 's';
    return false;
}
bool FreeC(void*)
{
    g_trace += 'c';
    return true;
}

using Handler = std::function<bool(void*)>;

// Counts the live delegates of this kind, so the tests see every clone the
// event source makes and destroys. The handler stays the test's: a clone may
// be destroyed while its handler runs, as a member-function target would.
class CountingDelegate final : public CDelegateBase
{
public:
    static int s_live;

    CountingDelegate(int id, const Handler& fn) : CDelegateBase(nullptr, &id, sizeof(id)), m_fn(&fn) { ++s_live; }
    CountingDelegate(const CountingDelegate& rhs) : CDelegateBase(rhs), m_fn(rhs.m_fn) { ++s_live; }
    ~CountingDelegate() override { --s_live; }

    CDelegateBase* Clone() const override { return new CountingDelegate(*this); }

protected:
    bool Call(void* param) override { return (*m_fn)(param); }

private:
    const Handler* m_fn;
};
int CountingDelegate::s_live = 0;

class Base
{
public:
    virtual ~Base() = default;
    virtual bool OnEvent(void* p)
    {
        seen.push_back("base");
        return p == nullptr;
    }
    std::vector<std::string> seen;
};

class Derived : public Base
{
public:
    bool OnEvent(void* p) override
    {
        seen.push_back("derived");
        return p == nullptr;
    }
    bool OnOther(void*)
    {
        seen.push_back("other");
        return true;
    }
};

class DelegateTest : public ::testing::Test
{
protected:
    void SetUp() override { g_trace.clear(); }
    void TearDown() override { EXPECT_EQ(CountingDelegate::s_live, 0) << "a clone leaked or was freed twice"; }
};

} // namespace

TEST_F(DelegateTest, FreeFunctionsAreUniqueOrderedAndStopOnFalse)
{
    CEventSource src;
    EXPECT_FALSE(src);
    EXPECT_TRUE(src(nullptr)); // empty source lets the event through

    src += FreeA;
    src += FreeA;
    EXPECT_TRUE(src);
    EXPECT_TRUE(src(nullptr));
    EXPECT_EQ(g_trace, "a");

    src += FreeStop;
    src += FreeB;
    g_trace.clear();
    EXPECT_FALSE(src(nullptr));
    EXPECT_EQ(g_trace, "as"); // the third is not called

    src -= FreeStop; // from the middle: the others keep their order
    src -= FreeC;    // absent: nothing happens
    g_trace.clear();
    EXPECT_TRUE(src(nullptr));
    EXPECT_EQ(g_trace, "ab");

    src -= MakeDelegate(FreeA);
    src -= FreeB;
    EXPECT_FALSE(src);
}

TEST_F(DelegateTest, MemberDelegatesAreIdentifiedByObjectAndFunction)
{
    Derived one, two;
    CEventSource src;
    src += MakeDelegate(&one, &Derived::OnOther);
    src += MakeDelegate(&one, &Derived::OnOther); // built anew: same identity
    src += MakeDelegate(&two, &Derived::OnOther); // other object
    src += MakeDelegate(&one, &Base::OnEvent);    // other function, declared in the base

    int value = 0;
    EXPECT_FALSE(src(&value)); // OnEvent returns false for a non-null parameter
    EXPECT_EQ(one.seen, (std::vector<std::string>{"other", "derived"})); // virtual call reaches the override
    EXPECT_EQ(two.seen, std::vector<std::string>{"other"});

    // A delegate built again from the same object and member removes the registered one.
    src -= CDelegate<Derived, Base>(&one, &Base::OnEvent);
    src -= MakeDelegate(&one, &Derived::OnOther);
    one.seen.clear();
    two.seen.clear();
    EXPECT_TRUE(src(&value));
    EXPECT_TRUE(one.seen.empty());
    EXPECT_EQ(two.seen, std::vector<std::string>{"other"});

    // A free function and a member function never compare equal.
    EXPECT_FALSE(MakeDelegate(FreeA).Equals(MakeDelegate(&one, &Derived::OnOther)));
    EXPECT_TRUE(MakeDelegate(&two, &Derived::OnOther).Equals(MakeDelegate(&two, &Derived::OnOther)));
}

TEST_F(DelegateTest, SourceOwnsClonesAndCopiesCloneThem)
{
    {
        const Handler h1 = [](void*) {
            g_trace += '1';
            return true;
        };
        const Handler h2 = [](void*) {
            g_trace += '2';
            return true;
        };
        CountingDelegate d1(1, h1);
        CountingDelegate d2(2, h2);
        CEventSource src;
        src += d1;
        src += d1; // duplicate: no clone kept
        src += d2;
        EXPECT_EQ(CountingDelegate::s_live, 4);

        CEventSource copy(src);
        EXPECT_EQ(CountingDelegate::s_live, 6);
        copy -= d1;
        EXPECT_EQ(CountingDelegate::s_live, 5);
        src(nullptr);
        copy(nullptr);
        EXPECT_EQ(g_trace, "122");

        CEventSource assigned;
        assigned += d2;
        assigned = src;
        CEventSource& alias = assigned;
        assigned = alias;
        EXPECT_EQ(CountingDelegate::s_live, 7);
        g_trace.clear();
        assigned(nullptr);
        EXPECT_EQ(g_trace, "12");
    }
    EXPECT_EQ(CountingDelegate::s_live, 0);
}

TEST_F(DelegateTest, RemovingAndAddingWhileFiring)
{
    CEventSource src;
    Handler selfBody;
    const Handler laterBody = [](void*) {
        g_trace += '3';
        return true;
    };
    const Handler addedBody = [](void*) {
        g_trace += '4';
        return true;
    };
    CountingDelegate self(1, selfBody);
    CountingDelegate later(3, laterBody);
    CountingDelegate added(4, addedBody);
    // The first removes itself (destroying the running clone) and the third,
    // and adds a fourth.
    selfBody = [&](void*) {
        g_trace += '1';
        src -= self;
        src -= later;
        src += added;
        return true;
    };
    src += self;
    src += FreeB;
    src += later;

    EXPECT_TRUE(src(nullptr));
    EXPECT_EQ(g_trace, "1b4"); // no one skipped, the removed not called, the added called

    g_trace.clear();
    EXPECT_TRUE(src(nullptr));
    EXPECT_EQ(g_trace, "b4");
}

TEST_F(DelegateTest, AssigningWhileFiringDoesNotCrash)
{
    CEventSource src, other;
    other += FreeC;
    const Handler body = [&](void*) {
        g_trace += '1';
        src = other;
        return true;
    };
    CountingDelegate swap(1, body);
    src += swap;
    src += FreeA;
    EXPECT_TRUE(src(nullptr));
    EXPECT_EQ(g_trace, "1c"); // the replaced ones are gone, the new one runs
    g_trace.clear();
    EXPECT_TRUE(src(nullptr));
    EXPECT_EQ(g_trace, "c");
}

TEST_F(DelegateTest, SourceDestroyedWhileFiring)
{
    auto* src = new CEventSource;
    const Handler killerBody = [&](void*) {
        g_trace += 'k';
        delete src;
        src = nullptr;
        return true;
    };
    CountingDelegate killer(1, killerBody);
    *src += killer;
    *src += FreeA;
    EXPECT_TRUE((*src)(nullptr));
    EXPECT_EQ(g_trace, "k"); // the loop stopped with its source

    // Destroyed from a nested firing: both loops stop.
    src = new CEventSource;
    int depth = 0;
    const Handler nestBody = [&](void* p) {
        g_trace += 'n';
        if (++depth == 1) {
            (*src)(p);
        } else {
            delete src;
            src = nullptr;
        }
        return true;
    };
    CountingDelegate nest(2, nestBody);
    g_trace.clear();
    *src += nest;
    *src += FreeA;
    (*src)(nullptr);
    EXPECT_EQ(g_trace, "nn");
    EXPECT_EQ(src, nullptr);
}
