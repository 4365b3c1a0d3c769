#pragma once
// Tables of an object's settings: where each starts and whether Assign
// copies it. A row reads and writes its setting as an int (flags, numbers,
// colours and enumerations alike).

#include <functional>
#include <gtest/gtest.h>
#include <vector>

template <class T> struct Field {
    const char* name;
    std::function<int(T&)> get;
    std::function<void(T&, int)> set;
    int start; // the starting value
    int other; // a different value
    bool copied; // by Assign
};

// Every field starts at its value; after setting every field of a source to
// its other value, Assign copies exactly the fields marked copied.
template <class T, class Make> void CheckStartAndAssign(const std::vector<Field<T>>& fields, Make make)
{
    auto dst = make();
    auto src = make();
    for (const Field<T>& f : fields) {
        EXPECT_EQ(f.get(*dst), f.start) << f.name << " starts";
        f.set(*src, f.other);
    }
    dst->Assign(src.get());
    for (const Field<T>& f : fields)
        EXPECT_EQ(f.get(*dst), f.copied ? f.other : f.start) << f.name << (f.copied ? " copied" : " kept");
}

#define PLAIN(T, f, start, other, copied)                                                                              \
    Field<T>                                                                                                           \
    {                                                                                                                  \
#f, [](T & o) { return int(o.f); }, [](T & o, int v) { o.f = decltype(o.f)(v); }, start, other, copied         \
    }
#define PROP(T, f, start, other, copied)                                                                               \
    Field<T>                                                                                                           \
    {                                                                                                                  \
#f, [](T & o) { return int(o.f()); }, [](T & o, int v) { o.Set##f(decltype(o.f())(v)); }, start, other, copied \
    }
