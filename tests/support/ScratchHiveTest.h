#pragma once

#include "system/RegistryHive.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A test with a registry hive of its own, in a folder of its own, current
// while the test runs.
class ScratchHiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        hive = std::make_unique<sysapi::RegistryHive>(directory.filePath(QStringLiteral("registry.reg")));
        sysapi::RegistryHive::setCurrent(hive.get());
    }
    void TearDown() override { sysapi::RegistryHive::setCurrent(nullptr); }

    QTemporaryDir directory;
    std::unique_ptr<sysapi::RegistryHive> hive;
};
