#include "playback/EngineApi.h"

const EngineApi& OstrivelEngine()
{
    static const EngineApi api = {
        OV_CreateDecoder, OV_EraseDecoder,  OV_OpenFile,    OV_CloseFile,           OV_GetFileInfo,
        OV_Play,          OV_Stop,          OV_Pause,       OV_PlayOneByOne,        OV_SetPlayRate,
        OV_GetPlayTime,   OV_SetPlayTime,   OV_SetInfoFrameCallBack, OV_SetEndCallBack, OV_PlaySound,
        OV_SetVolume,     OV_CaptureBMP,    OV_GetSynChannel, OV_SetSynChannel,
    };
    return api;
}
