#pragma once

#include "../support/TempDir.h"
#include "engine/GenericWindow.h"
#include "engine/StructureEngine.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

inline QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// An application folder with structure files on disk (no archive), a window
// and the engines built into it.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override { platform::setAppFolderOverride(dir.folder()); }
    void TearDown() override
    {
        engines.clear();
        form.reset();
        platform::setAppFolderOverride(QString());
    }

    // Writes a Windows-1251 file; "\n" becomes CR LF.
    void file(const char *name, const char *utf8Text)
    {
        dir.write(s(name), platform::encode1251(s(utf8Text).replace(s("\n"), s("\r\n"))));
    }

    TSkStract &build(const char *name)
    {
        if (!form)
            form = std::make_unique<TfrmFORM>();
        engines.push_back(std::make_unique<TSkStract>(form.get(), s(name)));
        engines.back()->LoadStructure();
        return *engines.back();
    }

    TempDir dir;
    platform::ScopedRecordingDialogs dialogs;
    std::unique_ptr<TfrmFORM> form;
    std::vector<std::unique_ptr<TSkStract>> engines;
};
