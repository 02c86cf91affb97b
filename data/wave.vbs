' Wave text: the waves run along the text by moving the filter's phase
' five percent of a cycle at each step.
Const waveBlockId = "[VELD ID]"
Dim wavePhase

Sub window_onload()
    If document.all(waveBlockId) Is Nothing Then Exit Sub
    wavePhase = 0
    window.setInterval "MoveWave", 100
End Sub

Sub MoveWave()
    wavePhase = (wavePhase + 5) Mod 100
    document.all(waveBlockId).filters.item(0).phase = wavePhase
End Sub
