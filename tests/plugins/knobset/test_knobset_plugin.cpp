// Knobset.so as the host loads it: the entry points by their exact names, a
// template, an idle comm-thread entry, and a clean stop of the own worker.
#include "ContextStorage.h"
#include "HostConfig.h"
#include "MultiDocTemplate.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

TEST(KnobsetPlugin, LoadsWithItsEntryPoints) {
    ContextStorage storage;
    storage.CreateParmStore(nullptr);
    storage.Fill(ReadHostConfig("Velmora.ini"), ".", nullptr);
    SharedContext& ctx = storage.Context();
    ctx.Int(kLinkFound) = 1;

    void* module = ::dlopen("./Knobset.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    using Create = CMultiDocTemplate* (*)(SharedContext*);
    using Extern = int (*)(int);
    auto create = reinterpret_cast<Create>(::dlsym(module, "CreateDLLDocTemplate"));
    auto externThread = reinterpret_cast<Extern>(::dlsym(module, "ExternThread"));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(externThread, nullptr);

    CMultiDocTemplate* tmpl = create(&ctx);
    ASSERT_NE(tmpl, nullptr);
    EXPECT_EQ(ctx.Int(kLinkFound).load(), 0);
    // Nothing requested: a cycle sends nothing and only mirrors the claim.
    const int traffic = ctx.Int(kDriveTraffic).load();
    EXPECT_EQ(externThread(0), 0);
    EXPECT_EQ(ctx.Int(kDriveTraffic).load(), traffic);
    EXPECT_EQ(ctx.Claim(kClaimKnobset).iDemand.load(), 0);
    delete tmpl; // joins the editor's own worker
}
