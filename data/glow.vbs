' Burning text: the glow flickers like a flame. Its strength rises and falls
' around the strength written in the block's style, following the digits of
' flickerSteps (no digit equals its neighbours, so every step shows).
Const flickerSteps = "0253697485241"
Dim glowBase
Dim glowStep

Function GlowBlockId()
    GlowBlockId = "[VELD ID]"
End Function

Sub window_onload()
    Dim block
    Set block = document.all(GlowBlockId())
    If block Is Nothing Then Exit Sub
    glowBase = 5
    If IsNumeric(block.filters.item(0).strength) Then
        glowBase = CInt(block.filters.item(0).strength)
    End If
    If glowBase < 1 Then glowBase = 1
    If glowBase > 240 Then glowBase = 240
    glowStep = 0
    window.setInterval "Flicker", 150
End Sub

Sub Flicker()
    glowStep = (glowStep + 1) Mod Len(flickerSteps)
    document.all(GlowBlockId()).filters.item(0).strength = glowBase + CInt(Mid(flickerSteps, glowStep + 1, 1))
End Sub
