#pragma once

// A navigator over files written into a fresh temporary folder.

#include <gtest/gtest.h>

#include <string>

#include "platform/LinuxHost.h"
#include "platform/TextEncoding.h"
#include "tests/support/TempFolder.h"
#include "xml/DOMExplorer.h"

class ExplorerFixture : public ::testing::Test {
 protected:
  void TearDown() override { platform::OpenTextConvertersFor("UTF-8"); }

  // Writes `content` to `name` in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& content) {
    testing_support::WriteFile(folder / name, content);
    return (folder / name).string();
  }
  int LoadContent(const std::string& content, const std::string& name = "document.xml") {
    return explorer.Load(Write(name, content));
  }

  testing_support::TempFolder folder;
  platform::LinuxHost host{folder.str(), 0};
  DOMExplorer explorer{host};
};
