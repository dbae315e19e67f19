// A small growable byte string with value semantics, and a list of them, for building paths.
#pragma once

#include <stddef.h>

// The standard string would pull about 200 KB into a static Windows build; this one is enough.
class ByteString {
public:
  ByteString();
  ByteString(const char* text);
  ByteString(const char* bytes, size_t length);
  ByteString(const ByteString& other);
  ByteString(ByteString&& other) noexcept;
  ~ByteString();
  ByteString& operator=(const ByteString& other);
  ByteString& operator=(ByteString&& other) noexcept;

  const char* c_str() const { return m_data ? m_data : ""; }
  size_t Length() const { return m_length; }
  bool Empty() const { return m_length == 0; }
  char operator[](size_t i) const { return m_data[i]; }

  ByteString& Append(const char* bytes, size_t length);
  ByteString& Append(const char* text);
  ByteString& Append(const ByteString& other) { return Append(other.c_str(), other.Length()); }
  ByteString& operator+=(const char* text) { return Append(text); }
  ByteString& operator+=(const ByteString& other) { return Append(other); }

  // The first `length` bytes (all of them when the string is shorter).
  ByteString Left(size_t length) const;
  // Position of the first / last occurrence of `c`, or -1.
  long Find(char c) const;
  long FindLast(char c) const;

  bool operator==(const ByteString& other) const;

private:
  bool Reserve(size_t length);

  char* m_data;
  size_t m_length;
  size_t m_capacity;
};

ByteString operator+(const ByteString& left, const char* right);
ByteString operator+(const ByteString& left, const ByteString& right);

// An owned, growable list of strings in insertion order.
class StringList {
public:
  StringList();
  StringList(const StringList&) = delete;
  StringList& operator=(const StringList&) = delete;
  ~StringList();

  bool Add(const ByteString& item);
  size_t Count() const { return m_count; }
  const ByteString& operator[](size_t i) const { return m_items[i]; }

private:
  ByteString* m_items;
  size_t m_count;
  size_t m_capacity;
};
