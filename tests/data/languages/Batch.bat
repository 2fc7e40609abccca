@echo off
REM deploy.bat - copy the build output to a share and keep a log.
REM 빌드 결과를 공유 폴더로 복사합니다.
setlocal enabledelayedexpansion

set "SOURCE=%~dp0build"
set "TARGET=\\server\share\app"
set /a RETRIES=3
set LOG=%TEMP%\deploy.log

if not exist "%SOURCE%\app.exe" (
    echo Build output not found in "%SOURCE%".
    exit /b 1
)

:: try the copy a few times, the share is sometimes slow
set COUNT=0
:retry
set /a COUNT+=1
robocopy "%SOURCE%" "%TARGET%" /MIR /R:2 /W:5 >> "%LOG%"
if %errorlevel% geq 8 (
    if !COUNT! lss %RETRIES% (
        echo Attempt !COUNT! failed, waiting...
        timeout /t 10 /nobreak > nul
        goto retry
    )
    echo Copy failed after %RETRIES% attempts. See %LOG%
    exit /b 2
)

for %%f in ("%TARGET%\*.dll") do (
    echo deployed %%~nxf
)
call :stamp
echo Done. 배포 완료
goto :eof

:stamp
echo %date% %time% deployed by %USERNAME%>> "%LOG%"
exit /b 0
