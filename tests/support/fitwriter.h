#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// FIT files built record by record for tests, benchmarks and fuzzing, with a CRC of its own
// (the FIT document's nibble table), so the reader's is checked against another one. Values
// go out in each definition's byte order, on the field's size; the header's sizes and the
// CRCs are filled in when the file is taken.
class FitWriter {
public:
    enum class Header { Short, LongWithoutCrc, LongWithCrc }; // 12 bytes, 14 with CRC 0, 14
    enum class Order { Little, Big };
    struct Field {
        std::uint8_t number;
        std::uint8_t size;
        std::uint8_t baseType;
    };
    // Base types, as a definition gives them.
    static constexpr std::uint8_t kEnum = 0x00;
    static constexpr std::uint8_t kUint8 = 0x02;
    static constexpr std::uint8_t kUint16 = 0x84;
    static constexpr std::uint8_t kUint32 = 0x86;
    static constexpr std::uint8_t kByte = 0x0D;

    explicit FitWriter(Header header = Header::LongWithCrc);

    // Developer fields (their sizes) make the definition say so; data records fill them with
    // 0xDD. Gives the record's offset in the file, as do the writers below.
    std::size_t define(std::uint8_t local, std::uint16_t global, std::vector<Field> fields,
                       Order order = Order::Little, std::vector<std::uint8_t> developerSizes = {});
    // One value a field, in the definition's order.
    std::size_t data(std::uint8_t local, const std::vector<std::uint64_t>& values);
    // A data record whose header carries the low 5 bits of its time; local 0 to 3.
    std::size_t compressed(std::uint8_t local, std::uint8_t timeOffset,
                           const std::vector<std::uint64_t>& values);
    // Any bytes as a record, for damage.
    std::size_t raw(const std::vector<std::uint8_t>& bytes);

    std::vector<std::uint8_t> file() const;
    std::size_t headerSize() const { return m_header == Header::Short ? 12 : 14; }

private:
    struct Local {
        Order order;
        std::vector<Field> fields;
        std::size_t developerBytes;
    };
    std::size_t record(std::uint8_t header, std::uint8_t local,
                       const std::vector<std::uint64_t>& values);

    Header m_header;
    std::array<std::optional<Local>, 16> m_locals;
    std::vector<std::uint8_t> m_records;
};

std::uint16_t fitDocumentCrc(const std::uint8_t* bytes, std::size_t size);

// Sizes and CRCs made right again after bytes were changed (a header CRC of 0 stays 0), so
// the damage reaches the records. A file too short for its header is left as it is.
std::vector<std::uint8_t> resealFit(std::vector<std::uint8_t> file);

// A session as the Xero writes it: file_id (type 54), device info, the session, then each shot
// with its time, speed (265.000 m/s and up) and number, the first 20 s after the session's.
inline constexpr std::uint32_t kXeroSessionTime = 1'087'000'000; // FIT seconds, June 2024
std::vector<std::uint8_t> xeroSessionFile(std::size_t shots,
                                          std::uint32_t sessionTime = kXeroSessionTime);
std::uint32_t xeroShotSpeed(std::size_t index);
