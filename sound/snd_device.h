// The audio device the SDL back end asks for: one output kept open across sounds.
#pragma once

constexpr int kDeviceRate = 44100;  // frames per second asked for
constexpr int kDeviceChannels = 2;  // stereo asked for; SDL may grant another count
constexpr int kDeviceFrames = 1024; // a small buffer: about 23 ms of latency at 44100 Hz
constexpr int kAlertMs = 150;       // the generated alert tone that stands in for a bad file
constexpr int kAlertHz = 880;
