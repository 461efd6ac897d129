// A borderless toolkit form of class F at a fixed place, for tests that put controls on it.
#pragma once

#include <gtest/gtest.h>

#include "tk/Forms.h"

template <class F>
struct FormFixture : ::testing::Test {
  F* Form = nullptr;
  void SetUp() override {
    Form = TCustomForm::Create<F>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 300, 200);
  }
  void TearDown() override { delete Form; }
  template <class T>
  T* Add(int left, int top, int width, int height) {
    T* c = new T(Form);
    c->SetBounds(left, top, width, height);
    c->SetParent(Form);
    return c;
  }
};
