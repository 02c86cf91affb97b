' Fading text: the text fades out step by step until it has vanished, then
' comes back more quickly, and starts over.
Dim alphaOpacity
Dim alphaFadingOut

Function AlphaBlockId()
    AlphaBlockId = "[VELD ID]"
End Function

Sub window_onload()
    If document.all(AlphaBlockId()) Is Nothing Then Exit Sub
    alphaOpacity = 100
    alphaFadingOut = True
    window.setInterval "Fade", 100
End Sub

Sub Fade()
    If alphaFadingOut Then
        alphaOpacity = alphaOpacity - 10
        If alphaOpacity <= 0 Then
            alphaOpacity = 0
            alphaFadingOut = False
        End If
    Else
        ' Coming back in steps of 15, 45, 75 and then fully opaque.
        If alphaOpacity = 0 Then
            alphaOpacity = 15
        Else
            alphaOpacity = alphaOpacity + 30
        End If
        If alphaOpacity > 100 Then
            alphaOpacity = 100
            alphaFadingOut = True
        End If
    End If
    document.all(AlphaBlockId()).filters.item(0).opacity = alphaOpacity
End Sub
