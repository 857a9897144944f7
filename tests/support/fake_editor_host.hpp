#pragma once
// The dialogs' test host lives in testing/qt/, beside the other stand-ins.
#include "testing/qt/fake_editor_host.hpp"
