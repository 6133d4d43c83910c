#include <gtest/gtest.h>

#include <thread>

#include "core/ClassRegistry.h"
#include "core/ComObject.h"
#include "core/ErrorInfo.h"
#include "core/EventSinks.h"
#include "core/SysLog.h"

namespace lindor {
namespace {

class ICounter : public IUnknown {
public:
    static constexpr const char* IID = "ICounter";
    virtual int Value() = 0;
};

int liveCounters = 0;

class CCounter final : public ComObject<ICounter> {
public:
    CCounter() { ++liveCounters; }
    int Value() override { return 7; }

private:
    ~CCounter() override { --liveCounters; }
};

TEST(ReferenceCounting, LastReleaseDestroysTheObjectOnce)
{
    liveCounters = 0;
    {
        ComPtr<CCounter> first = MakeObject<CCounter>();
        EXPECT_EQ(liveCounters, 1);
        ComPtr<CCounter> second = first;
        ComPtr<CCounter> third = std::move(second);
        EXPECT_EQ(first->AddRef(), 3u);
        EXPECT_EQ(first->Release(), 2u);
        first.reset();
        EXPECT_EQ(liveCounters, 1);
    }
    EXPECT_EQ(liveCounters, 0);
}

TEST(ReferenceCounting, HandOutAndAdoptKeepTheBalance)
{
    liveCounters = 0;
    ICounter* raw = nullptr;
    {
        ComPtr<CCounter> object = MakeObject<CCounter>();
        HandOut(object, &raw);
    }
    EXPECT_EQ(liveCounters, 1) << "the handed-out reference keeps the object alive";
    ComPtr<ICounter> adopted = ComPtr<ICounter>::Adopt(raw);
    adopted.reset();
    EXPECT_EQ(liveCounters, 0);
}

TEST(ReferenceCounting, QueryInterfaceByNameAddsAReference)
{
    liveCounters = 0;
    ComPtr<CCounter> object = MakeObject<CCounter>();
    ComPtr<ICounter> counter;
    ASSERT_EQ(object->QueryInterface("ICounter", counter.put_void()), S_OK);
    EXPECT_EQ(counter->Value(), 7);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(object->QueryInterface("IUnknown", unknown.put_void()), S_OK);
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface("IBugSet", &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(object->QueryInterface(nullptr, &none), E_FAIL);
    counter.reset();
    unknown.reset();
    object.reset();
    EXPECT_EQ(liveCounters, 0);
}

TEST(ClassRegistry, CreatesByVersionedAndVersionIndependentName)
{
    ComPtr<ISysLog> a, b;
    EXPECT_EQ(ClassRegistry::Create("Lindor.SysLog.1", "ISysLog", a.put_void()), S_OK);
    EXPECT_EQ(ClassRegistry::Create("Lindor.SysLog", "ISysLog", b.put_void()), S_OK);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.get(), b.get()) << "each creation makes a new object";
}

TEST(ClassRegistry, UnknownNamesAndInterfacesFailWithADescription)
{
    void* out = nullptr;
    std::string text, source;
    EXPECT_EQ(ClassRegistry::Create("Lindor.NoSuchClass.1", "IUnknown", &out), E_FAIL);
    EXPECT_EQ(out, nullptr);
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_NE(text.find("Lindor.NoSuchClass.1"), std::string::npos);
    EXPECT_EQ(ClassRegistry::Create("SysLog", "ISysLog", &out), E_FAIL) << "prefix is required";
    EXPECT_EQ(ClassRegistry::Create("Lindor.SysLog.1", "IBugSet", &out), E_FAIL);
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_NE(text.find("IBugSet"), std::string::npos);
}

TEST(ClassRegistry, ListsOnlyClassesThatExist)
{
    for (const std::string& name : ClassRegistry::ClassNames()) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(
            ClassRegistry::Create(ExternalClassName(name).c_str(), "IUnknown", object.put_void()),
            S_OK)
            << name;
    }
}

TEST(ErrorInfo, IsKeptPerThread)
{
    SetErrorInfo("main thread text", "Lindor.Main.1");
    std::string otherText = "untouched";
    bool otherHadInfo = true;
    std::thread worker([&] {
        otherHadInfo = GetThreadErrorInfo(&otherText, nullptr);
        SetErrorInfo("worker text", "Lindor.Worker.1");
    });
    worker.join();
    EXPECT_FALSE(otherHadInfo);
    std::string text, source;
    ASSERT_TRUE(GetThreadErrorInfo(&text, &source));
    EXPECT_EQ(text, "main thread text");
    EXPECT_EQ(source, "Lindor.Main.1");
}

class IPing : public IUnknown {
public:
    static constexpr const char* IID = "IPing";
    virtual void Ping(int value) = 0;
};

class CPing final : public ComObject<IPing> {
public:
    void Ping(int value) override { received.push_back(value); }
    std::vector<int> received;
};

TEST(EventSinks, EverySubscriberGetsEveryEventUntilUnadvised)
{
    EventSinks<IPing> sinks;
    ComPtr<CPing> a = MakeObject<CPing>(), b = MakeObject<CPing>();
    std::uint32_t ca = 0, cb = 0;
    ASSERT_TRUE(sinks.Advise(a.get(), &ca));
    ASSERT_TRUE(sinks.Advise(b.get(), &cb));
    EXPECT_NE(ca, cb);
    sinks.FireAll([](IPing* s) { s->Ping(1); });
    EXPECT_TRUE(sinks.Unadvise(ca));
    EXPECT_FALSE(sinks.Unadvise(ca)) << "a cookie works once";
    sinks.FireAll([](IPing* s) { s->Ping(2); });
    EXPECT_EQ(a->received, std::vector<int>({1}));
    EXPECT_EQ(b->received, std::vector<int>({1, 2}));
    EXPECT_FALSE(sinks.Advise(nullptr, &ca));
}

TEST(EventSinks, ASubscriberMayUnsubscribeWhileHandlingAnEvent)
{
    EventSinks<IPing> sinks;
    ComPtr<CPing> a = MakeObject<CPing>();
    std::uint32_t cookie = 0;
    sinks.Advise(a.get(), &cookie);
    sinks.FireAll([&](IPing* s) {
        sinks.Unadvise(cookie);
        s->Ping(5);
    });
    EXPECT_EQ(a->received, std::vector<int>({5}));
    EXPECT_EQ(sinks.size(), 0u);
}

}  // namespace
}  // namespace lindor
