// The shell's link entries of the entertainment screen.
#include "entertainer.h"
#include "menulinks.h"
#include "refreshlinks.h"

namespace {

int EntOpen() { return TheEntertainer() ? 1 : 0; }

int EntKey(int key) {
    NEnt::CEntertainer* screen = TheEntertainer();
    return screen ? screen->Key(key & 0xFFFF) : 0;
}

void EntDraw(FGDrawBuffer* /*main*/) {
    if (NEnt::CEntertainer* screen = TheEntertainer()) screen->Draw();
}

int EntCreate(FGDrawBuffer* main) { return CreateEntertainer(main) ? 1 : 0; }

void CloseVideoPlayer() { NEnt::VideoPlayer.Close(); }

void RestartDemoVideo() {
    if (NEnt::VideoPlayer.state == NEnt::PlayerIdle) return;
    NEnt::VideoPlayer.Stop();
    NEnt::VideoPlayer.Play();
}

}  // namespace

void InstallEntLinks() {
    MenuLinks.EntertainerOpen = EntOpen;
    MenuLinks.EntertainerKey = EntKey;
    MenuLinks.EntertainerDraw = EntDraw;
    MenuLinks.CreateEntertainer = EntCreate;
    MenuLinks.DestroyEntertainer = DestroyEntertainer;
    MenuLinks.LoadEntertainerImages = LoadEntertainerImages;
    MenuLinks.FreeEntertainerImages = FreeEntertainerImages;
    MenuLinks.CloseVideoPlayer = CloseVideoPlayer;
    RefreshHooks.DemoVideoRestart = RestartDemoVideo;
}
