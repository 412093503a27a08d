#pragma once

// The value accessors that every navigator owns, one per value type. Each
// only remembers the navigator that owns it; they do nothing else.

class DOMExplorer;

class IntAccesser {
 public:
  explicit IntAccesser(DOMExplorer* explorer) : explorer_(explorer) {}
  virtual ~IntAccesser();
  IntAccesser(const IntAccesser&) = delete;
  IntAccesser& operator=(const IntAccesser&) = delete;

 private:
  DOMExplorer* explorer_;  // not owned
};

class BOOLAccesser {
 public:
  explicit BOOLAccesser(DOMExplorer* explorer) : explorer_(explorer) {}
  virtual ~BOOLAccesser();
  BOOLAccesser(const BOOLAccesser&) = delete;
  BOOLAccesser& operator=(const BOOLAccesser&) = delete;

 private:
  DOMExplorer* explorer_;  // not owned
};

class COleDateTimeAccesser {
 public:
  explicit COleDateTimeAccesser(DOMExplorer* explorer) : explorer_(explorer) {}
  virtual ~COleDateTimeAccesser();
  COleDateTimeAccesser(const COleDateTimeAccesser&) = delete;
  COleDateTimeAccesser& operator=(const COleDateTimeAccesser&) = delete;

 private:
  DOMExplorer* explorer_;  // not owned
};

class CStringAccesser {
 public:
  explicit CStringAccesser(DOMExplorer* explorer) : explorer_(explorer) {}
  virtual ~CStringAccesser();
  CStringAccesser(const CStringAccesser&) = delete;
  CStringAccesser& operator=(const CStringAccesser&) = delete;

 private:
  DOMExplorer* explorer_;  // not owned
};
