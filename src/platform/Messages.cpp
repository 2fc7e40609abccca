#include "Messages.h"

#include <cstdio>

namespace ov {

const char* LoadStr(int id) {
    switch (id) {
    case SUseWindowFont: return "윈도우 글꼴 사용(&F)";
    case SUseBitmapFont: return "비트맵 글꼴 사용(&F)";
    case SLine: return "줄";
    case SNotFound: return "찾으려는 문자열이 없습니다!";
    case SInformation: return "정보";
    case SHtmlNeedsHighlighting: return "문법 강조가 적용된 상태에서만 HTML로 저장 할 수 있습니다.";
    case SBookmark: return "책갈피";
    case SStyleNames: return "기본,숫자,주석,문자열1,문자열2,줄번호,HTML값";
    case SRange: return "범위";
    case SInvalidValue: return "잘못된 값입니다.";
    case SRangeErrorFormat: return "%s:범위를 벗어 난 인덱스 참조(%d)";
    case SOutOfMemory: return "메모리가 부족합니다!!";
    case SLargeFileQuestion: return "열려고 하는 파일이 매우 큽니다.\n정말로 이 파일을 여시겠습니까?";
    case SLargeCopyQuestion:
        return "큰 용량의 문자열(약 %s)을 복사하려고 합니다. 시스템이 느려질 수 있습니다.\n정말로 복사하시겠습니까?";
    case SConfirm: return "확인";
    case SWarning: return "경고";
    default: return "";
    }
}

std::string LargeCopyQuestion(std::uint64_t bytes) {
    static const char* const units[] = {"바이트", "KB", "MB", "GB", "TB"};
    double size = double(bytes);
    int unit = 0;
    while (size >= 1024 && unit < 4) {
        size /= 1024;
        ++unit;
    }
    // One decimal below ten of a unit (1.2 GB), none above (350 MB).
    char number[32];
    std::snprintf(number, sizeof number, unit > 0 && size < 10 ? "%.1f %s" : "%.0f %s", size, units[unit]);
    std::string text = LoadStr(SLargeCopyQuestion);
    text.replace(text.find("%s"), 2, number);
    return text;
}

} // namespace ov
