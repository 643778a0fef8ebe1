#include <gtest/gtest.h>

#include "tests/support/e2e.h"

TEST(Startup, OpensTheWindowAndEndsWithExitCode0WhenClosed) {
  App app;
  Shot s = app.shot();
  ASSERT_EQ(s.w, 640);
  ASSERT_EQ(s.h, 400);
  app.closeWindow();
  EXPECT_EQ(app.waitExit(), 0);
}

TEST(Startup, WithoutTheFontPrintsOneLineAndRunsOn) {
  App app(false);
  EXPECT_TRUE(app.running());
  app.closeWindow();
  EXPECT_EQ(app.waitExit(), 0);
  std::string out = app.output();
  EXPECT_NE(out.find("BASFont.bmp"), std::string::npos) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

TEST(Startup, FailingSDLInitPrintsSDLsErrorAndExits1) {
  std::string out = Sh("cd /tmp && SDL_VIDEODRIVER=nonexistent '" TARKSEN_BIN "'; echo \"exit=$?\"");
  EXPECT_EQ(out, "nonexistent not available\nexit=1\n");
}
