// Test support library; the fake WMI backend lives beside this file.
namespace brevane::testing_support {}
