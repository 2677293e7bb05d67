#pragma once

// 10,000-shot exports of each format the import reads, written as the devices write them.

#include <string>

// Each file's velocities vary in a 41 m/s band, tenths included where the format has them.
namespace exportfiles {

inline constexpr int kShots = 10'000;

inline std::string velocity(int i, int base)
{
    return std::to_string(base + i % 41) + "." + std::to_string(i % 10) + "0";
}

inline std::string labRadarReport()
{
    std::string text =
        "sep=;\r\nDevice ID;LBR-0012345;;\r\n\r\nSeries No;0007;;\r\n"
        "Units velocity;fps;;\r\nUnits weight;grain;;\r\n\r\n"
        "Shot ID;V0;V10.00;V20.00;Ke0;Ke10.00;Ke20.00;PF10.00;Proj. Weight;Date;Time\r\n";
    for (int i = 1; i <= kShots; ++i)
        text += std::to_string(i) + ";" + velocity(i, 2780) +
                ";2760.11;2716.90;2926.55;2835.70;2747.12;469.80;168.00;2024-05-11;09:41:02;\r\n";
    return text;
}

inline std::string garminXero()
{
    std::string text =
        "\xEF\xBB\xBF\"308 Win 168 SMK\"\n#,SPEED (FPS),\xCE\x94 AVG (FPS),KE (FT-LB),"
        "POWER FACTOR,TIME,CLEAN BORE,COLD BORE,SHOT NOTES\n";
    for (int i = 1; i <= kShots; ++i)
        text += std::to_string(i) + ", " + velocity(i, 2780) +
                ", 2.5, 2932.6, 471.1, 9:41:02 AM, , , \"\" \n";
    return text + "-,,,,,,\nAVERAGE SPEED,2801.5,,,,,,,\n\xEF\xBB\xBF";
}

// The shots spread over `series` series.
inline std::string magnetoSpeedLog(int series)
{
    std::string text;
    for (int s = 1; s <= series; ++s) {
        text += "Series," + std::to_string(s) + ", Shots:, " + std::to_string(kShots / series) +
                "\r\nMin, 801, Max, 841\r\n"
                "Avg, 821 ,S-D, 11.8\r\nES ,  40\r\n\r\nSeries,Shot,Speed\r\n";
        for (int i = 1; i <= kShots / series; ++i)
            text += std::to_string(s) + ", " + std::to_string(i) + ",  " +
                    std::to_string(801 + i % 41) + ", m/s    \r\n";
        text += "----,----,----,----\r\n";
    }
    return text;
}

inline std::string plainList()
{
    std::string text = "N;V (m/s);Note\r\n";
    for (int i = 1; i <= kShots; ++i)
        text += std::to_string(i) + ";" + std::to_string(280 + i % 41) + "," +
                std::to_string(i % 10) + ";\r\n";
    return text;
}

} // namespace exportfiles
