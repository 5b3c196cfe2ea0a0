#pragma once
// The serial layer's message table (SerMessageTable.cpp).

struct TSerMessageEntry {
    int MessageNumber;
    const char* MessageString;
};

extern const TSerMessageEntry SerMessageNumberLookup[];
extern const int SerMessageCount;
