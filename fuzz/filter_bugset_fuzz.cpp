// Fuzz target for filter sets: bytes become conditions (any column name, any
// condition and join codes, values of any type, quotes and brackets in text
// values), the set's text is made with GetSQL, and the bug set is opened with
// it, directly and through OpenBugSet's scope. Every call must succeed or fail
// cleanly; a caller's conditions must never widen OpenBugSet's scope.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "bugs/CBugSet.h"
#include "context/CExeContext.h"
#include "filters/CBugFilter.h"
#include "filters/CBugFilterSet.h"
#include "schema/CreateDB.h"

using namespace lindor;

namespace {

const char* const kColumns[] = {"BugID",         "bugid",           "BugType",      "StatusName",
                                "Description",   "ReportedDate",    "DateDue",      "ClassID",
                                "EstimatedTime", "ReportedInPrjID", "NoSuchColumn", ""};

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t Int()
    {
        std::int32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | Next();
        return v;
    }
    std::string Text()
    {
        const std::size_t length = Next() % 24;
        std::string text;
        for (std::size_t i = 0; i < length && !Empty(); ++i) text += static_cast<char>(Next());
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

Variant AnyValue(Bytes& in)
{
    switch (in.Next() % 7) {
        case 0:
            return Variant::I4(in.Int());
        case 1:
            return Variant::UI1(in.Next());
        case 2:
            return Variant::Text(in.Text());
        case 3:
            return Variant::Date(static_cast<double>(in.Int() % 200000) + in.Next() / 256.0);
        case 4:
            return Variant::I2(static_cast<std::int16_t>(in.Int()));
        case 5:
            return Variant::Null();
        default:
            return Variant::R8(in.Int() / 7.0);
    }
}

ComPtr<CBugFilterSet> Conditions(Bytes& in)
{
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    for (int n = 0; n < 8 && !in.Empty(); ++n) {
        ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
        filter->put_Field(kColumns[in.Next() % (sizeof(kColumns) / sizeof(kColumns[0]))]);
        filter->put_Condition(static_cast<eLogCondition>(in.Next() % 10));
        filter->put_AndOr(static_cast<eLogOperation>(in.Next() % 4));
        filter->put_Bracket(static_cast<eBracket>(in.Next() % 4));
        filter->put_Value(AnyValue(in));
        set->Add(filter.get());
    }
    return set;
}

struct Fixture {
    std::string folder;
    ComPtr<CExeContext> context;

    Fixture()
    {
        char name[] = "/tmp/filter-fuzz-XXXXXX";
        folder = mkdtemp(name);
        const std::string path = folder + "/fuzz.mdb";
        if (!CreateDB(path)) std::abort();
        context = MakeObject<CExeContext>();
        if (context->OpenAccessDB(path) != S_OK || context->Login("Admin", "") != S_OK)
            std::abort();
    }
    ~Fixture()
    {
        context->Close();
        std::system(("rm -rf '" + folder + "'").c_str());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    Bytes in(data, size);
    ComPtr<CBugFilterSet> set = Conditions(in);
    std::string sql;
    set->GetSQL(&sql);

    ComPtr<CBugSet> direct = MakeObject<CBugSet>();
    direct->AttachContext(fixture.context.get());
    if (direct->Open(set.get()) == S_OK) {
        std::int32_t count = -1;
        if (direct->get_Count(&count) != S_OK || count != 0) std::abort();  // the file has no bugs
    }
    ComPtr<IBugSet> scoped;
    fixture.context->OpenBugSet(eBug, set.get(), scoped.put());
    return 0;
}
