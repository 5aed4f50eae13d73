#pragma once

#include "convert/conversion.h"

#include <QString>

namespace rainbow::messages {

// Every status line text; each begins with "温馨提示：" and uses full-width punctuation.
inline const QString welcome = QStringLiteral("温馨提示：欢迎使用青柚彩虹文字！");
inline const QString gradientTip = QStringLiteral("温馨提示：按照起始颜色和结束颜色生成彩色文字！");
inline const QString rainbowTip = QStringLiteral("温馨提示：按照 赤橙黄绿青蓝紫 生成彩虹文字！");
inline const QString tooShortForRainbow = QStringLiteral("温馨提示：内容少于6个字，无法生成彩虹色！");
inline const QString tooShortForSymmetric = QStringLiteral("温馨提示：内容少于12个字，无法生成对称彩虹色！");
inline const QString copied = QStringLiteral("温馨提示：代码已成功复制到剪贴板！");
inline const QString converting = QStringLiteral("温馨提示：正在生成彩虹字，请稍候！");
inline const QString converted = QStringLiteral("温馨提示：成功生成彩虹字，请复制到剪贴板！");

inline const QString tooLongForWindow = QStringLiteral("温馨提示：内容超过200万字，无法生成彩色文字！");

// An error that ended a handler all the same; the input stays as it was. Short enough for the
// status line's room between its corner and the frame: 22 Chinese characters of the window's font.
inline const QString outOfMemory = QStringLiteral("温馨提示：内存不足，无法完成！输入已保留。");
inline const QString tooLong = QStringLiteral("温馨提示：内容太长，无法生成！输入已保留。");
inline const QString unexpectedError = QStringLiteral("温馨提示：意外错误，未能完成！输入已保留。");

// Tips of the link labels, shown while the pointer is over them.
inline const QString blogTip = QStringLiteral("温馨提示：点击浏览作者博客，关注我的新作品！");
inline const QString versionTip = QStringLiteral("温馨提示：查看软件版本更新信息！及BUG提交者！");
inline const QString homeTip = QStringLiteral("温馨提示：青柚家园，你我共同的家园！");
inline const QString bugReportTip = QStringLiteral("温馨提示：如使用中发现错误，请提交给作者！");

/// The status line's words for an outcome of the convert command.
inline const QString &forOutcome(ConversionOutcome outcome)
{
    switch (outcome) {
    case ConversionOutcome::Converted:
        break;
    case ConversionOutcome::TooShortForRainbow:
        return tooShortForRainbow;
    case ConversionOutcome::TooShortForSymmetric:
        return tooShortForSymmetric;
    case ConversionOutcome::TooManyCharacters:
        return tooLong;
    }
    return converted;
}

} // namespace rainbow::messages
