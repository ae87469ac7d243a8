@echo off
robocopy C:\Work \\KITCHEN-NAS\Backup\dev-ws07 /MIR /R:1 /W:1
