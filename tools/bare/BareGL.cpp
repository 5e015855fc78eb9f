// The yardstick of the game's start-up and CPU figures: a bare SDL 1.2 + OpenGL program that
// opens a window of the game's size, clears it each frame and swaps, paced at 60 frames a second
// by sleeping until the next frame is due, as the game's run loop does. It prints
// "Frame 0 drawn at <seconds>" (the wall clock) once its first frame is shown.
//
//   bf_bare WIDTH HEIGHT FRAMES [LINGER_SECONDS]

#include <SDL.h>
#include <SDL_opengl.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace
{

double Now()
{
    timespec tNow;
    clock_gettime(CLOCK_MONOTONIC, &tNow);
    return static_cast<double>(tNow.tv_sec) + static_cast<double>(tNow.tv_nsec) * 1e-9;
}

void SleepUntil(double dWhen)
{
    const double dWait = dWhen - Now();
    if (dWait > 0.0)
    {
        timespec tWait;
        tWait.tv_sec = static_cast<time_t>(dWait);
        tWait.tv_nsec = static_cast<long>((dWait - static_cast<double>(tWait.tv_sec)) * 1e9);
        nanosleep(&tWait, nullptr);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
    {
        std::printf("usage: bf_bare WIDTH HEIGHT FRAMES [LINGER_SECONDS]\n");
        return 2;
    }
    const int iWidth = std::atoi(argv[1]);
    const int iHeight = std::atoi(argv[2]);
    const long iFrames = std::atol(argv[3]);
    const double dLinger = argc > 4 ? std::atof(argv[4]) : 0.0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        std::printf("bf_bare: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (SDL_SetVideoMode(iWidth, iHeight, 0, SDL_OPENGL) == nullptr)
    {
        std::printf("bf_bare: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_WM_SetCaption("bf_bare", "bf_bare");
    const double dStep = 1.0 / 60.0;
    double dNext = Now();
    for (long i = 0; i < iFrames; ++i)
    {
        SDL_Event tEvent;
        while (SDL_PollEvent(&tEvent))
        {
            if (tEvent.type == SDL_QUIT)
            {
                i = iFrames;
            }
        }
        glClearColor(0.25f, 0.25f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapBuffers();
        if (i == 0)
        {
            timespec tNow;
            clock_gettime(CLOCK_REALTIME, &tNow);
            std::printf("Frame 0 drawn at %lld.%09ld\n", static_cast<long long>(tNow.tv_sec),
                        tNow.tv_nsec);
            std::fflush(stdout);
        }
        dNext += dStep;
        SleepUntil(dNext);
    }
    SleepUntil(Now() + dLinger);
    SDL_Quit();
    return 0;
}
