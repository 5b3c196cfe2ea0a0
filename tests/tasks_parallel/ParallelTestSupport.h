#pragma once
// Start-up of the task framework for the parallel API's tests.

#include "../tasks_control/TaskTestSupport.h"

class ParallelTest : public ::testing::Test {
protected:
    void SetUp() override { InitWeft(); }
};
