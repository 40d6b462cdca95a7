#include <gtest/gtest.h>

#include "core/settings.hpp"
#include "output/fasta_writer.hpp"
#include "core/console.hpp"
#include "support/run_kavro.hpp"

namespace {

std::string masked(std::string text, long n, long q, std::string* announced = nullptr) {
    kavro_test::CaptureConsole console;
    kavro::mask_long_runs(text, n, q);
    if (announced) *announced = console.out();
    return text;
}

TEST(MaskLongRuns, RunsAtAndAboveTheThreshold) {
    std::string said;
    EXPECT_EQ(masked(std::string(9, 'N') + "A", 10, 10, &said), std::string(9, 'N') + "A");
    EXPECT_EQ(said, "");
    EXPECT_EQ(masked(std::string(10, 'N') + "A", 10, 10, &said), "Nx010xNA");
    EXPECT_EQ(said, "x010x\n");
    EXPECT_EQ(masked(std::string("G").append(12, 'N').append("ACG"), 10, 10, &said), "GNx012xNACG");
    EXPECT_EQ(said, "x012x\n");
    // A four-digit count fills the mark; the closing letter is lost.
    EXPECT_EQ(masked(std::string(1234, 'N') + "A", 10, 10, &said), "Nx1234xA");
    EXPECT_EQ(said, "x1234x\n");
}

TEST(MaskLongRuns, AnnouncesOnStandardErrorWhileTheDataGoToStandardOutput) {
    kavro::set_messages_to_stderr(true);
    std::string text = std::string(10, 'N') + "A";
    kavro_test::CaptureConsole console;
    kavro::mask_long_runs(text, 10, 10);
    kavro::set_messages_to_stderr(false);
    EXPECT_EQ(text, "Nx010xNA");
    EXPECT_EQ(console.out(), "");
    EXPECT_EQ(console.err(), "x010x\n");
}

TEST(MaskLongRuns, RunAtTheEndStaysAndBothLettersAreMarked) {
    std::string said;
    EXPECT_EQ(masked(std::string("A").append(15, 'N'), 10, 10, &said), std::string("A").append(15, 'N'));
    EXPECT_EQ(said, "");
    const std::string text = std::string(10, 'N') + "T" + std::string(11, 'Q') + "TT" + std::string(20, 'N') +
                             "n" + std::string(5, 'Q') + "C";
    EXPECT_EQ(masked(text, 10, 10, &said), "Nx010xNTQx011xQTTNx020xNn" + std::string(5, 'Q') + "C");
    EXPECT_EQ(said, "x010x\nx020x\nx011x\n");
    // Each letter has its own threshold.
    EXPECT_EQ(masked(std::string(10, 'N') + "A" + std::string(10, 'Q') + "A", 10, 11),
              "Nx010xNA" + std::string(10, 'Q') + "A");
}

TEST(MaskLongRuns, LowThresholdsLetTheTextGrow) {
    EXPECT_EQ(masked("ANNNCNG", 3, 10), "ANx003xNCNG");
    EXPECT_EQ(masked("NAQQC", 1, 2), "Nx001xNAQx002xQC");
    EXPECT_EQ(masked("NANQQ", 1, 1), "Nx001xNANx001xNQQ");
}

}  // namespace
