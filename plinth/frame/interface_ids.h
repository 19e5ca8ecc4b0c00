#pragma once

#include "plinth/platform/guid.h"

namespace plinth {

// Identifiers of the interfaces that the library's objects offer. IID_IUnknown comes with
// the platform (unknown.h).
// Threads: one object is used by one thread at a time; distinct objects are independent.

/// Not an interface: asks an object for itself. The object answers with its own address and
/// adds no reference, so that code of this library can get from an interface back to the
/// object that implements it. What it receives must not be released.
/// 6A7F5542-C2BD-480D-97B1-B90F2129774F
inline constexpr IID IID_ImplObject = {
    0x6A7F5542, 0xC2BD, 0x480D, {0x97, 0xB1, 0xB9, 0x0F, 0x21, 0x29, 0x77, 0x4F}};

/// 183F9350-6DE4-4546-8117-0E0E81242D26
inline constexpr IID IID_IArray2 = {
    0x183F9350, 0x6DE4, 0x4546, {0x81, 0x17, 0x0E, 0x0E, 0x81, 0x24, 0x2D, 0x26}};

/// 0CCE4523-EA6E-4ACA-B184-A44047F574E2
inline constexpr IID IID_IList = {
    0x0CCE4523, 0xEA6E, 0x4ACA, {0xB1, 0x84, 0xA4, 0x40, 0x47, 0xF5, 0x74, 0xE2}};

/// 1324419D-0B45-430C-AB43-4CF1BBCD2B1E
inline constexpr IID IID_IIterator = {
    0x1324419D, 0x0B45, 0x430C, {0xAB, 0x43, 0x4C, 0xF1, 0xBB, 0xCD, 0x2B, 0x1E}};

/// B55E80ED-A2CF-45FA-832B-4D934B8581FD
inline constexpr IID IID_IRange = {
    0xB55E80ED, 0xA2CF, 0x45FA, {0x83, 0x2B, 0x4D, 0x93, 0x4B, 0x85, 0x81, 0xFD}};

/// 4DC98E26-A609-4861-85C5-31E7EA4823C5
inline constexpr IID IID_IDictionary_Vel = {
    0x4DC98E26, 0xA609, 0x4861, {0x85, 0xC5, 0x31, 0xE7, 0xEA, 0x48, 0x23, 0xC5}};

/// EC1DE31C-1F1B-4022-A0E3-7ECFDA2231BA
inline constexpr IID IID_IBlob = {
    0xEC1DE31C, 0x1F1B, 0x4022, {0xA0, 0xE3, 0x7E, 0xCF, 0xDA, 0x22, 0x31, 0xBA}};

/// 7608F844-1085-4208-ABCB-BAE36AF4DDB1
inline constexpr IID IID_IDataContext = {
    0x7608F844, 0x1085, 0x4208, {0xAB, 0xCB, 0xBA, 0xE3, 0x6A, 0xF4, 0xDD, 0xB1}};

/// Implemented by the clients of a NotifyServer.
/// 594A7940-E85E-4FDD-A3E2-21A9D2B28F08
inline constexpr IID IID_INotify = {
    0x594A7940, 0xE85E, 0x4FDD, {0xA3, 0xE2, 0x21, 0xA9, 0xD2, 0xB2, 0x8F, 0x08}};

} // namespace plinth
