// Tests of Vector, Stack and OwningVector.
#include "foundation/Exception.h"
#include "foundation/OwningVector.h"
#include "foundation/Stack.h"
#include "foundation/String.h"

#include <gtest/gtest.h>

namespace {

// Counts its destructions so that ownership can be checked.
struct Counted : Object {
    explicit Counted(int& deaths) : deaths_(deaths) {}
    ~Counted() override { ++deaths_; }
    int& deaths_;
};

template <typename E, typename F>
void expectThrowsNamed(F f, const char* name)
{
    try {
        f();
        ADD_FAILURE() << "expected an exception named " << name;
    } catch (const E& e) {
        EXPECT_STREQ(e.text().c_str(), name);
    }
}

} // namespace

TEST(Vector, CapacityGrowth)
{
    String a("a");
    Vector doubling(0, 0);
    EXPECT_EQ(doubling.capacity(), 1u);
    EXPECT_EQ(doubling.addElement(&a), 0);
    EXPECT_EQ(doubling.addElement(&a), 1);
    EXPECT_EQ(doubling.capacity(), 2u);
    EXPECT_EQ(doubling.addElement(&a), 2);
    EXPECT_EQ(doubling.capacity(), 4u);

    Vector stepping(0, 5);
    for (uint32_t expected : {1u, 6u, 6u, 6u, 6u, 6u, 11u}) {
        stepping.addElement(&a);
        EXPECT_EQ(stepping.capacity(), expected);
    }
}

TEST(Vector, IndexChecksNameTheOperation)
{
    String a("a"), b("b"), c("c");
    Vector v(3, 0);
    v.addElement(&a);
    v.addElement(&b);
    v.addElement(&c);
    expectThrowsNamed<IndexOutOfBoundsException>([&] { v.elementAt(3); }, "elementAt");
    expectThrowsNamed<IndexOutOfBoundsException>([&] { v.elementAt(-1); }, "elementAt");
    expectThrowsNamed<IndexOutOfBoundsException>([&] { v.setElementAt(&a, 3); }, "setElementAt");
    expectThrowsNamed<IndexOutOfBoundsException>([&] { v.removeElementAt(-1); }, "removeElementAt");
    EXPECT_EQ(v.size(), 3);

    v.removeElementAt(0);
    ASSERT_EQ(v.size(), 2);
    EXPECT_EQ(v.elementAt(0), &b);
    EXPECT_EQ(v.elementAt(1), &c);
}

TEST(Vector, ToStringJoinsElements)
{
    String a("a"), b("b");
    Vector v;
    EXPECT_STREQ(v.toString().c_str(), "[]");
    v.addElement(&a);
    v.addElement(&b);
    EXPECT_STREQ(v.toString().c_str(), "[a, b]");
}

TEST(Stack, EmptyStackAccess)
{
    Stack s;
    expectThrowsNamed<EmptyStackException>([&] { s.peek(); }, "peek");
    expectThrowsNamed<EmptyStackException>([&] { s.pop(); }, "pop");
    String a("a"), b("b");
    s.push(&a);
    s.push(&b);
    EXPECT_EQ(s.peek(), &b);
    EXPECT_EQ(s.pop(), &b);
    EXPECT_EQ(s.pop(), &a);
    EXPECT_EQ(s.size(), 0);
}

TEST(OwningVector, DeletesWhatItOwns)
{
    int deaths = 0;
    Counted* kept = nullptr;
    {
        OwningVector v(1, 0);
        v.addElement(new Counted(deaths));
        v.addElement(nullptr);
        v.addElement(new Counted(deaths));
        v.replaceElementAt(new Counted(deaths), 0);
        EXPECT_EQ(deaths, 1);
        expectThrowsNamed<IndexOutOfBoundsException>([&] { v.replaceElementAt(nullptr, 7); }, "setElementAt");
        kept = static_cast<Counted*>(v.elementAt(2));
        v.removeElementAt(2);
        EXPECT_EQ(deaths, 1) << "removeElementAt hands the element back";
    }
    EXPECT_EQ(deaths, 2);
    delete kept;
    EXPECT_EQ(deaths, 3);

    OwningVector cleared(4, 0);
    cleared.addElement(new Counted(deaths));
    cleared.removeAllElements();
    EXPECT_EQ(deaths, 4);
    EXPECT_EQ(cleared.size(), 0);
    EXPECT_EQ(cleared.capacity(), 4u);
}
