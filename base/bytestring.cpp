// The growable byte string and string list behind every path the programs build.
#include "base/bytestring.h"

#include <new>
#include <stdlib.h>
#include <string.h>

ByteString::ByteString() : m_data(nullptr), m_length(0), m_capacity(0) {}

ByteString::ByteString(const char* text) : ByteString() {
  if (text) Append(text, strlen(text));
}

ByteString::ByteString(const char* bytes, size_t length) : ByteString() { Append(bytes, length); }

ByteString::ByteString(const ByteString& other) : ByteString() {
  Append(other.c_str(), other.m_length);
}

ByteString::ByteString(ByteString&& other) noexcept
    : m_data(other.m_data), m_length(other.m_length), m_capacity(other.m_capacity) {
  other.m_data = nullptr;
  other.m_length = other.m_capacity = 0;
}

ByteString::~ByteString() { free(m_data); }

ByteString& ByteString::operator=(const ByteString& other) {
  if (this != &other) {
    m_length = 0;
    if (m_data) m_data[0] = 0;
    Append(other.c_str(), other.m_length);
  }
  return *this;
}

ByteString& ByteString::operator=(ByteString&& other) noexcept {
  if (this != &other) {
    free(m_data);
    m_data = other.m_data;
    m_length = other.m_length;
    m_capacity = other.m_capacity;
    other.m_data = nullptr;
    other.m_length = other.m_capacity = 0;
  }
  return *this;
}

bool ByteString::Reserve(size_t length) {
  if (length < m_capacity) return true;
  size_t capacity = m_capacity ? m_capacity : 32;
  while (capacity <= length) {
    if (capacity > ((size_t)-1) / 2) return false;
    capacity *= 2;
  }
  char* data = static_cast<char*>(realloc(m_data, capacity));
  if (!data) return false;
  m_data = data;
  m_capacity = capacity;
  return true;
}

// Out of memory the string keeps what it had: a path that cannot grow names nothing sensible,
// and the call that uses it fails the ordinary way.
ByteString& ByteString::Append(const char* bytes, size_t length) {
  if (length > ((size_t)-1) - m_length - 1 || !Reserve(m_length + length)) return *this;
  if (length) memmove(m_data + m_length, bytes, length);
  m_length += length;
  m_data[m_length] = 0;
  return *this;
}

ByteString& ByteString::Append(const char* text) {
  return text ? Append(text, strlen(text)) : *this;
}

ByteString ByteString::Left(size_t length) const {
  return ByteString(c_str(), length < m_length ? length : m_length);
}

long ByteString::Find(char c) const {
  for (size_t i = 0; i < m_length; ++i)
    if (m_data[i] == c) return (long)i;
  return -1;
}

long ByteString::FindLast(char c) const {
  for (size_t i = m_length; i > 0; --i)
    if (m_data[i - 1] == c) return (long)(i - 1);
  return -1;
}

bool ByteString::operator==(const ByteString& other) const {
  return m_length == other.m_length && memcmp(c_str(), other.c_str(), m_length) == 0;
}

ByteString operator+(const ByteString& left, const char* right) {
  ByteString out(left);
  out.Append(right);
  return out;
}

ByteString operator+(const ByteString& left, const ByteString& right) {
  ByteString out(left);
  out.Append(right);
  return out;
}

StringList::StringList() : m_items(nullptr), m_count(0), m_capacity(0) {}

StringList::~StringList() {
  for (size_t i = 0; i < m_count; ++i) m_items[i].~ByteString();
  free(m_items);
}

bool StringList::Add(const ByteString& item) {
  if (m_count == m_capacity) {
    size_t capacity = m_capacity ? m_capacity * 2 : 4;
    ByteString* items = static_cast<ByteString*>(malloc(capacity * sizeof(ByteString)));
    if (!items) return false;
    for (size_t i = 0; i < m_count; ++i) {
      new (&items[i]) ByteString(static_cast<ByteString&&>(m_items[i]));
      m_items[i].~ByteString();
    }
    free(m_items);
    m_items = items;
    m_capacity = capacity;
  }
  new (&m_items[m_count]) ByteString(item);
  ++m_count;
  return true;
}
