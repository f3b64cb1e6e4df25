// The measured-values block with a writer, a reader and the averaged values the pages
// read through AverReader.
#pragma once

#include <memory>

#include "averdata.h"
#include "hkmeasure.h"
#include "measured_block.h"
#include "shellstate.h"

class AverBlockTest : public MeasuredBlockTest {
protected:
    void SetUp() override {
        MeasuredBlockTest::SetUp();
        writer = std::make_unique<TMValWriter>();
        reader = std::make_unique<TMValReader>();
        aver = std::make_unique<TAverData>(reader.get(), 100);
        AverReader = aver.get();
    }
    void TearDown() override {
        AverReader = nullptr;
        aver.reset();
        reader.reset();
        writer.reset();
        MeasuredBlockTest::TearDown();
    }
    std::unique_ptr<TMValWriter> writer;
    std::unique_ptr<TMValReader> reader;
    std::unique_ptr<TAverData> aver;
};
