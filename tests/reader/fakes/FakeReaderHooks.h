#pragma once

// What the fake reader libraries export beside the entry points of the real ones, for the tests
// to set them up and to see what they were asked. The tests find these with dlsym.

#include <cstdint>

extern "C" {

// Which card sits in the fake reader's slot.
enum FakeCard : int32_t
{
    kFakeNoCard = 0,
    kFakeSimCard = 1,       // the standard SIM (PIN1 1234)
    kFakeTelephoneCard = 2, // the standard prepaid telephone card
};

// One request as the fake driver library received it.
struct FakeKvriRequest
{
    uint32_t words[7];     // the request block as it arrived, word 0 first
    int32_t inOneBlock;    // the seven pointers addressed consecutive words of one block
    int32_t hasParameter;  // control: word 1 named a 32-bit parameter ...
    uint32_t parameter;    // ... of this value
    uint32_t memoryLength; // read memory: length and start address of the parameter area ...
    uint32_t memoryStart;
    int32_t memoryAreaClean; // ... whose other bytes were all zero and whose destination named 32 bytes
};

// One call the fake PCMCIA library received (register reads and the count query are not kept).
struct FakeSmartCall
{
    int32_t op; // FakeSmartOp
    int32_t a;
    int32_t b;
    int32_t c;
};

enum FakeSmartOp : int32_t
{
    kSmartOpOpen = 1,  // a, b, c: the three arguments
    kSmartOpClose = 2, // a: handle
    kSmartOpOutp = 3,  // a: register, b: value
    kSmartOpWrite = 4, // a: count
    kSmartOpRead = 5,  // a: count asked, b: count given
    kSmartOpCwt = 6,   // SetSmartCWT or GetSmartCWT
};

// Ways the fake PCMCIA library can be told to misbehave (fakeSmartSet).
enum FakeSmartFault : int32_t
{
    kSmartNoAnswer = 1,     // value 1: the card's answer to reset never comes
    kSmartLengthByte = 2,   // the length byte put before the answer to reset; -1: the true length
    kSmartNotReady = 3,     // value 1: register 2 never reports the device ready
    kSmartFailOpen = 4,     // value 1: SmartOpen fails
    kSmartFailRegister = 5, // every access to this register fails; -1: none
    kSmartDropWrites = 6,   // the next value SmartWrite calls report success and send nothing
};

using FakeResetFn = void (*)();
using FakeInsertFn = void (*)(int32_t card);
using FakeCountFn = int32_t (*)();

// libKVRINT.so: fakeKvriReset, fakeKvriInsert, fakeKvriRequestCount,
using FakeKvriFailFn = void (*)(uint32_t function, uint32_t error, int32_t times); // fakeKvriFail
using FakeKvriRequestAtFn = int32_t (*)(int32_t index, FakeKvriRequest* out);      // fakeKvriRequestAt

// libSMARTAPI.so: fakeSmartReset, fakeSmartInsert, fakeSmartCallCount,
using FakeSmartSetFn = void (*)(int32_t fault, int32_t value);            // fakeSmartSet
using FakeSmartCallAtFn = int32_t (*)(int32_t index, FakeSmartCall* out); // fakeSmartCallAt
using FakeSmartParityFn = int32_t (*)();                                  // fakeSmartParity
}
