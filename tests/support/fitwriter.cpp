#include "support/fitwriter.h"

#include <stdexcept>

namespace {

void put(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t size,
         FitWriter::Order order)
{
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t shift = 8 * (order == FitWriter::Order::Big ? size - 1 - i : i);
        out.push_back(static_cast<std::uint8_t>(shift < 64 ? value >> shift : 0));
    }
}

} // namespace

FitWriter::FitWriter(Header header)
    : m_header(header)
{
}

std::size_t FitWriter::define(std::uint8_t local, std::uint16_t global, std::vector<Field> fields,
                              Order order, std::vector<std::uint8_t> developerSizes)
{
    const std::size_t at = headerSize() + m_records.size();
    const bool developer = !developerSizes.empty();
    m_records.push_back(static_cast<std::uint8_t>(0x40 | (developer ? 0x20 : 0) | local));
    m_records.push_back(0);
    m_records.push_back(order == Order::Big ? 1 : 0);
    put(m_records, global, 2, order);
    m_records.push_back(static_cast<std::uint8_t>(fields.size()));
    for (const Field& field : fields)
        m_records.insert(m_records.end(), {field.number, field.size, field.baseType});
    std::size_t developerBytes = 0;
    if (developer) {
        m_records.push_back(static_cast<std::uint8_t>(developerSizes.size()));
        for (std::size_t i = 0; i < developerSizes.size(); ++i) {
            m_records.insert(m_records.end(), {static_cast<std::uint8_t>(i), developerSizes[i], 0});
            developerBytes += developerSizes[i];
        }
    }
    m_locals[local] = Local{order, std::move(fields), developerBytes};
    return at;
}

std::size_t FitWriter::record(std::uint8_t header, std::uint8_t local,
                              const std::vector<std::uint64_t>& values)
{
    const std::optional<Local>& definition = m_locals.at(local);
    if (!definition || definition->fields.size() != values.size())
        throw std::logic_error("a data record that does not fit its definition");
    const std::size_t at = headerSize() + m_records.size();
    m_records.push_back(header);
    for (std::size_t i = 0; i < values.size(); ++i)
        put(m_records, values[i], definition->fields[i].size, definition->order);
    m_records.insert(m_records.end(), definition->developerBytes, 0xDD);
    return at;
}

std::size_t FitWriter::data(std::uint8_t local, const std::vector<std::uint64_t>& values)
{
    return record(local, local, values);
}

std::size_t FitWriter::compressed(std::uint8_t local, std::uint8_t timeOffset,
                                  const std::vector<std::uint64_t>& values)
{
    return record(static_cast<std::uint8_t>(0x80 | local << 5 | (timeOffset & 0x1F)), local,
                  values);
}

std::size_t FitWriter::raw(const std::vector<std::uint8_t>& bytes)
{
    const std::size_t at = headerSize() + m_records.size();
    m_records.insert(m_records.end(), bytes.begin(), bytes.end());
    return at;
}

std::vector<std::uint8_t> FitWriter::file() const
{
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(headerSize()), 0x20};
    put(out, 21'141, 2, Order::Little); // profile version 21.141
    put(out, m_records.size(), 4, Order::Little);
    out.insert(out.end(), {'.', 'F', 'I', 'T'});
    if (m_header != Header::Short)
        put(out, m_header == Header::LongWithCrc ? fitDocumentCrc(out.data(), 12) : 0, 2,
            Order::Little);
    out.insert(out.end(), m_records.begin(), m_records.end());
    put(out, fitDocumentCrc(out.data(), out.size()), 2, Order::Little);
    return out;
}

std::uint16_t fitDocumentCrc(const std::uint8_t* bytes, std::size_t size)
{
    static const std::uint16_t table[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00,
                                            0x2800, 0xE401, 0xA001, 0x6C00, 0x7800, 0xB401,
                                            0x5000, 0x9C01, 0x8801, 0x4400};
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        for (const int nibble : {bytes[i] & 0x0F, bytes[i] >> 4}) {
            const std::uint16_t tmp = table[crc & 0x0F];
            crc = static_cast<std::uint16_t>(((crc >> 4) & 0x0FFF) ^ tmp ^ table[nibble]);
        }
    }
    return crc;
}

std::vector<std::uint8_t> resealFit(std::vector<std::uint8_t> file)
{
    if (file.empty() || (file[0] != 12 && file[0] != 14) || file.size() < file[0] + 2u)
        return file;
    const std::size_t header = file[0];
    const std::size_t records = file.size() - header - 2;
    for (std::size_t i = 0; i < 4; ++i)
        file[4 + i] = static_cast<std::uint8_t>(records >> 8 * i);
    if (header == 14 && (file[12] != 0 || file[13] != 0)) {
        const std::uint16_t crc = fitDocumentCrc(file.data(), 12);
        file[12] = static_cast<std::uint8_t>(crc);
        file[13] = static_cast<std::uint8_t>(crc >> 8);
    }
    const std::uint16_t crc = fitDocumentCrc(file.data(), file.size() - 2);
    file[file.size() - 2] = static_cast<std::uint8_t>(crc);
    file[file.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
    return file;
}

std::uint32_t xeroShotSpeed(std::size_t index)
{
    return static_cast<std::uint32_t>(265'000 + index * 391 % 9'000);
}

std::vector<std::uint8_t> xeroSessionFile(std::size_t shots, std::uint32_t sessionTime)
{
    using F = FitWriter;
    FitWriter fit;
    // file_id: type, manufacturer, product, serial number, time created.
    fit.define(0, 0,
               {{0, 1, F::kEnum},
                {1, 2, F::kUint16},
                {2, 2, F::kUint16},
                {3, 4, 0x8C},
                {4, 4, F::kUint32}});
    fit.data(0, {54, 1, 4'400, 3'456'789'012u, sessionTime});
    // device_info: timestamp, software version, a name the reader has no use for.
    fit.define(1, 23, {{253, 4, F::kUint32}, {5, 2, F::kUint16}, {27, 8, 0x07}});
    fit.data(1, {sessionTime, 1'230, 0x4331'4F52'4558});
    // session: timestamp, lowest, highest and average speed, shot count, projectile type,
    // bullet weight.
    fit.define(2, 387,
               {{253, 4, F::kUint32},
                {0, 4, F::kUint32},
                {1, 4, F::kUint32},
                {2, 4, F::kUint32},
                {3, 2, F::kUint16},
                {4, 1, F::kEnum},
                {5, 4, F::kUint32}});
    fit.data(2, {sessionTime, 265'000, 273'999, 269'500, shots, 0, 1'800});
    fit.define(3, 388, {{253, 4, F::kUint32}, {0, 4, F::kUint32}, {1, 2, F::kUint16}});
    for (std::size_t i = 0; i < shots; ++i)
        fit.data(3, {sessionTime + 20 + 7 * i, xeroShotSpeed(i), i + 1});
    return fit.file();
}
