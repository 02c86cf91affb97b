' Wave text: the waves run along the text by moving the filter's phase
' five percent of a cycle at each step.
Dim wavePhase

Function WaveBlockId()
    WaveBlockId = "[VELD ID]"
End Function

Sub window_onload()
    If document.all(WaveBlockId()) Is Nothing Then Exit Sub
    wavePhase = 0
    window.setInterval "MoveWave", 100
End Sub

Sub MoveWave()
    wavePhase = (wavePhase + 5) Mod 100
    document.all(WaveBlockId()).filters.item(0).phase = wavePhase
End Sub
